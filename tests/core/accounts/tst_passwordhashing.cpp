#include "core/accounts/PasswordHashing.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString zeroSalt = u"00000000000000000000000000000000"_s;
const QString exampleSalt = u"0123456789abcdef0123456789abcdef"_s;

} // namespace

class TestPasswordHashing : public QObject {
    Q_OBJECT

private slots:
    void saltsAreFreshLowerCaseHex() {
        const QRegularExpression lowerHex(u"^[0-9a-f]{32}$"_s);
        const QString first = randomSalt();
        const QString second = randomSalt();
        QVERIFY2(lowerHex.match(first).hasMatch(), qPrintable(first));
        QVERIFY2(lowerHex.match(second).hasMatch(), qPrintable(second));
        QCOMPARE_NE(first, second);
    }

    // Reference digests from sha256sum over the UTF-8 of salt then password.
    void hashIsSha256OfSaltThenPassword_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("salt");
        QTest::addColumn<QString>("digest");
        QTest::newRow("empty password covers the salt alone")
            << QString() << zeroSalt
            << u"84e0c0eafaa95a34c293f278ac52e45ce537bab5e752a00e6959a13ae103b65a"_s;
        QTest::newRow("non-ASCII password as UTF-8")
            << u"pässwörd"_s << exampleSalt
            << u"878fdf36635c7ab5aedc4b00b8111509e5d0529ff3481985c4e9cc29f41835b8"_s;
    }

    void hashIsSha256OfSaltThenPassword() {
        QFETCH(QString, password);
        QFETCH(QString, salt);
        QFETCH(QString, digest);
        QCOMPARE(hashPassword(password, salt), digest);
    }

    void passwordIsHashedExactlyAsTyped_data() {
        QTest::addColumn<QString>("variant");
        QTest::newRow("leading space") << u" pässwörd"_s;
        QTest::newRow("trailing space") << u"pässwörd "_s;
        QTest::newRow("letter case") << u"Pässwörd"_s;
        QTest::newRow("decomposed umlauts") << u"pa\u0308sswo\u0308rd"_s;
    }

    void passwordIsHashedExactlyAsTyped() {
        QFETCH(QString, variant);
        QCOMPARE_NE(hashPassword(variant, exampleSalt), hashPassword(u"pässwörd"_s, exampleSalt));
    }
};

QTEST_GUILESS_MAIN(TestPasswordHashing)
#include "tst_passwordhashing.moc"
