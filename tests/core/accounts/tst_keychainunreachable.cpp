#include "core/accounts/AccountStore.h"
#include "core/accounts/KeychainSecretStore.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

// The real QtKeychain with no Secret Service to reach: the session bus address points at a socket
// that does not exist, as on a desktop without a keyring daemon.
class TestKeychainUnreachable : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;

private slots:
    void initTestCase() {
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                QFile::encodeName(u"unix:path="_s + m_directory.filePath(u"no-bus"_s)));
    }

    void accountsGoToThePreferencesAndComeBack() {
        const PreferenceStore preferences(m_directory.filePath(u"preferences.ini"_s));
        const AccountStore store(std::make_shared<KeychainSecretStore>(), preferences);
        const Account ann{u"ann@example.com"_s, u"0123456789abcdef0123456789abcdef"_s, u"aa"_s};

        store.saveAll({ann});

        QVERIFY(preferences.open()
                    ->value(u"velmarto.accounts.fallback"_s)
                    .toByteArray()
                    .contains("ann@example.com"));
        QCOMPARE(store.loadAll(), QList<Account>{ann});
        // The copy holds the salts and hashes, so no other user may read the file.
        QCOMPARE(QFileInfo(preferences.filePath()).permissions() &
                     ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
    }

    // No Secret Service is the desktop's normal state, not a failed read: the preference copy is
    // then the list, and changes to it go ahead.
    void updatesGoToThePreferenceCopy() {
        const PreferenceStore preferences(m_directory.filePath(u"updates.ini"_s));
        const AccountStore store(std::make_shared<KeychainSecretStore>(), preferences);
        const Account bob{u"bob@example.com"_s, u"fedcba9876543210fedcba9876543210"_s, u"bb"_s};
        const auto append = [&bob](QList<Account> accounts) {
            accounts.append(bob);
            return std::optional(accounts);
        };

        QCOMPARE(store.update(append), AccountStore::UpdateOutcome::saved);
        QCOMPARE(store.update(append), AccountStore::UpdateOutcome::saved);
        QCOMPARE(store.loadAll(), (QList<Account>{bob, bob}));
    }
};

QTEST_GUILESS_MAIN(TestKeychainUnreachable)
#include "tst_keychainunreachable.moc"
