#include "FakeSecretStore.h"
#include "core/accounts/AccountStore.h"

#include <QFileInfo>
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

class TestAccountStore : public QObject {
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

    // Left in place, the copy would go stale and answer for the keychain whenever the keychain
    // cannot be read.
    void successfulAddRemovesTheCopy() {
        m_secrets->refusesAdds = true;
        store().saveAll({ann});
        m_secrets->refusesAdds = false;
        store().saveAll({ann, bob});

        QVERIFY(!fallbackCopy().isValid());
        QCOMPARE(store().loadAll(), (QList<Account>{ann, bob}));
    }

    void updateStartsFromTheItemOrTheCopyWhenThereIsNoItem() {
        m_secrets->refusesAdds = true;
        store().saveAll({ann});
        const AccountStore::Change appendBob = [](QList<Account> accounts) {
            accounts.append(bob);
            return std::optional(accounts);
        };

        QCOMPARE(store().update(appendBob), AccountStore::UpdateOutcome::saved);
        QCOMPARE(fallbackCopy().toByteArray(), documentOf({ann, bob}));

        m_secrets->refusesAdds = false;
        m_secrets->putItem(service, key, documentOf({bob}));
        QCOMPARE(store().update(appendBob), AccountStore::UpdateOutcome::saved);
        QCOMPARE(m_secrets->items(service, key), (QList<QByteArray>{documentOf({bob, bob})}));
    }

    // The preference copy may be older than the unreadable item: a list built on it would drop
    // every account it lacks.
    void updateAfterAFailedReadWritesNothing() {
        m_secrets->putItem(service, key, documentOf({ann, bob}));
        putFallbackCopy(documentOf({bob}));
        m_secrets->readsToFail = 1;
        bool changeRan = false;

        const AccountStore::UpdateOutcome outcome =
            store().update([&changeRan](QList<Account> accounts) {
                changeRan = true;
                return std::optional(accounts);
            });

        QCOMPARE(outcome, AccountStore::UpdateOutcome::failed);
        QVERIFY(!changeRan);
        QCOMPARE(m_secrets->items(service, key), QList<QByteArray>{documentOf({ann, bob})});
        QCOMPARE(fallbackCopy().toByteArray(), documentOf({bob}));
    }

    void declinedUpdateWritesNothing() {
        m_secrets->putItem(service, key, documentOf({ann}));
        const AccountStore::UpdateOutcome outcome =
            store().update([](const QList<Account>&) { return std::optional<QList<Account>>(); });
        QCOMPARE(outcome, AccountStore::UpdateOutcome::declined);
        QCOMPARE(m_secrets->items(service, key), QList<QByteArray>{documentOf({ann})});
    }

    // The copy holds every salt and hash; a single salted SHA-256 is cheap to crack offline.
    void preferenceFileIsOwnerOnly_data() {
        QTest::addColumn<bool>("existedOpenToAll");
        QTest::addColumn<bool>("saves");
        QTest::newRow("new file, save") << false << true;
        QTest::newRow("file readable by all, save") << true << true;
        QTest::newRow("file readable by all, load") << true << false;
    }

    void preferenceFileIsOwnerOnly() {
        QFETCH(bool, existedOpenToAll);
        QFETCH(bool, saves);
        const QString file = m_preferences.filePath();
        if (existedOpenToAll) {
            putFallbackCopy(documentOf({bob}));
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther));
        }
        m_secrets->refusesAdds = true;

        if (saves) {
            store().saveAll({ann});
            QCOMPARE(fallbackCopy().toByteArray(), documentOf({ann}));
        } else {
            QCOMPARE(store().loadAll(), QList<Account>{bob});
        }

        QCOMPARE(QFileInfo(file).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(TestAccountStore)
#include "tst_accountstore.moc"
