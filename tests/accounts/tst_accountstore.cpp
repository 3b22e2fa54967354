#include "FakeSecretStore.h"
#include "accounts/AccountStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString service = u"com.local.velmarto.accounts"_s;
const QString key = u"accounts-db-v1"_s;
const QString fallbackKey = u"velmarto.accounts.fallback"_s;

const Account ann{u"ann@example.com"_s, u"0123456789abcdef0123456789abcdef"_s, u"aa"_s};
const Account bob{u"bob@example.com"_s, u"fedcba9876543210fedcba9876543210"_s, u"bb"_s};

QByteArray documentOf(const QList<Account>& accounts) {
    QJsonArray array;
    for (const Account& account : accounts) {
        array.append(QJsonObject{
            {u"email"_s, account.email}, {u"salt"_s, account.salt}, {u"hash"_s, account.hash}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

} // namespace

class AccountStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    std::shared_ptr<test::FakeSecretStore> m_secrets;
    PreferenceStore m_preferences;

    AccountStore store() const { return AccountStore(m_secrets, m_preferences); }
    QVariant fallbackCopy() const { return m_preferences.open()->value(fallbackKey); }
    void putFallbackCopy(const QByteArray& document) const {
        m_preferences.open()->setValue(fallbackKey, document);
    }

private slots:
    void init() {
        m_secrets = std::make_shared<test::FakeSecretStore>();
        m_preferences = PreferenceStore(
            m_directory.filePath(u"%1.ini"_s.arg(QString::fromLatin1(QTest::currentTestFunction()) +
                                                 QString::fromLatin1(QTest::currentDataTag()))));
    }

    void firstStartHasNoAccounts() { QVERIFY(store().loadAll().isEmpty()); }

    void savedListComesBackInOrderAsOneCompactArray() {
        store().saveAll({bob, ann});

        QCOMPARE(store().loadAll(), (QList<Account>{bob, ann}));
        const QList<QByteArray> items = m_secrets->items(service, key);
        QCOMPARE(items.size(), 1);
        QVERIFY(!items.first().contains(' ') && !items.first().contains('\n'));
        const QJsonArray array = QJsonDocument::fromJson(items.first()).array();
        QCOMPARE(array.size(), 2);
        QCOMPARE(array.at(0).toObject().keys(), (QStringList{u"email"_s, u"hash"_s, u"salt"_s}));
        QCOMPARE(array.at(0).toObject().value(u"email"_s).toString(), bob.email);
    }

    void secondSaveReplacesTheOnlyItem() {
        store().saveAll({ann});
        store().saveAll({ann, bob});
        QCOMPARE(m_secrets->items(service, key), (QList<QByteArray>{documentOf({ann, bob})}));
    }

    void readerIgnoresUnknownMembers() {
        m_secrets->putItem(
            service, key,
            R"([{"hash":"aa","note":"x","salt":"0123456789abcdef0123456789abcdef","email":"ann@example.com"}])");
        QCOMPARE(store().loadAll(), QList<Account>{ann});
    }

    // A damaged item in the keychain reads as no accounts; the preference copy is not used for
    // it, since the keychain did answer.
    void undecodableItemReadsAsEmpty_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::newRow("not JSON") << QByteArray("[{\"email\":");
        QTest::newRow("object, not array") << QByteArray(R"({"email":"a","salt":"b","hash":"c"})");
        QTest::newRow("element not an object") << QByteArray(R"(["ann@example.com"])");
        QTest::newRow("missing member") << QByteArray(R"([{"email":"a","salt":"b"}])");
        QTest::newRow("member not text") << QByteArray(R"([{"email":"a","salt":"b","hash":7}])");
        QTest::newRow("one bad record among good ones")
            << documentOf({ann}).replace("]", R"(,{"email":"b@c.de"}])");
    }

    void undecodableItemReadsAsEmpty() {
        QFETCH(QByteArray, document);
        m_secrets->putItem(service, key, document);
        putFallbackCopy(documentOf({bob}));
        QVERIFY(store().loadAll().isEmpty());
    }

    void refusedAddKeepsTheListInThePreferences() {
        m_secrets->refusesAdds = true;
        store().saveAll({ann, bob});

        QVERIFY(m_secrets->items(service, key).isEmpty());
        QCOMPARE(fallbackCopy().toByteArray(), documentOf({ann, bob}));
        QCOMPARE(store().loadAll(), (QList<Account>{ann, bob}));
    }

    void failedReadUsesThePreferenceCopy() {
        m_secrets->putItem(service, key, documentOf({ann}));
        putFallbackCopy(documentOf({bob}));
        m_secrets->failsReads = true;
        QCOMPARE(store().loadAll(), QList<Account>{bob});
    }

    void successfulAddLeavesTheCopyAsItWas() {
        m_secrets->refusesAdds = true;
        store().saveAll({ann});
        m_secrets->refusesAdds = false;
        store().saveAll({ann, bob});

        QCOMPARE(fallbackCopy().toByteArray(), documentOf({ann}));
        QCOMPARE(store().loadAll(), (QList<Account>{ann, bob}));
    }
};

QTEST_GUILESS_MAIN(AccountStoreTest)
#include "tst_accountstore.moc"
