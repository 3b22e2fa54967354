#include "FakeSecretStore.h"
#include "core/accounts/AccountStore.h"
#include "core/accounts/KeychainSecretStore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString service = u"com.local.velmarto.accounts"_s;
const QString key = u"accounts-db-v1"_s;

} // namespace

// Two Velmarto processes signing up at the same time. Without a lock around each
// load-modify-save, one process saved a list read before the other's last save, and that
// account was gone (24 of 41 were left).
class TestAccountProcesses : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;

    static constexpr int accountsPerProcess = 20;

    static bool signUpFromTwoProcesses(const QString& preferenceFile,
                                       const QProcessEnvironment& environment) {
        std::array<QProcess, 2> helpers;
        const std::array<QString, 2> prefixes{u"left"_s, u"right"_s};
        for (std::size_t index = 0; index < helpers.size(); ++index) {
            helpers[index].setProcessEnvironment(environment);
            helpers[index].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            helpers[index].start(
                QStringLiteral(VELMARTO_SIGN_UP_HELPER),
                {preferenceFile, prefixes[index], QString::number(accountsPerProcess)});
        }
        bool allSignedUp = true;
        for (QProcess& helper : helpers) {
            allSignedUp = helper.waitForFinished(240'000) &&
                          helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0 &&
                          allSignedUp;
        }
        return allSignedUp;
    }

    static QStringList sortedAddresses(const QList<Account>& accounts) {
        QStringList emails;
        for (const Account& account : accounts) {
            emails.append(account.email);
        }
        emails.sort();
        return emails;
    }

    static QStringList everyAddress() {
        QStringList emails;
        for (const QString& prefix : {u"left"_s, u"right"_s}) {
            for (int index = 0; index < accountsPerProcess; ++index) {
                emails.append(u"%1-%2@example.com"_s.arg(prefix).arg(index));
            }
        }
        emails.sort();
        return emails;
    }

private slots:
    // No Secret Service: both processes keep the list in the shared preference file.
    void everyAccountSurvivesInThePreferenceCopy() {
        QProcessEnvironment withoutBus = QProcessEnvironment::systemEnvironment();
        withoutBus.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                          u"unix:path="_s + m_directory.filePath(u"no-bus"_s));
        const QString preferenceFile = m_directory.filePath(u"copy.ini"_s);

        QVERIFY(signUpFromTwoProcesses(preferenceFile, withoutBus));

        // Read straight from the file: this process keeps its session bus for the keyring case.
        const QList<Account> stored =
            AccountStore(std::make_shared<test::FakeSecretStore>(), PreferenceStore(preferenceFile))
                .loadAll();
        QCOMPARE(sortedAddresses(stored), everyAddress());
    }

    void everyAccountSurvivesInTheKeyring() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface()->activatableServiceNames().value().contains(
                                      u"org.freedesktop.secrets"_s)) {
            QSKIP("No Secret Service on the session bus");
        }
        const auto keychain = std::make_shared<KeychainSecretStore>();
        const QString preferenceFile = m_directory.filePath(u"keyring.ini"_s);
        keychain->remove(service, key);

        QVERIFY(signUpFromTwoProcesses(preferenceFile, QProcessEnvironment::systemEnvironment()));

        const QList<Account> stored =
            AccountStore(keychain, PreferenceStore(preferenceFile)).loadAll();
        keychain->remove(service, key);
        QCOMPARE(sortedAddresses(stored), everyAddress());
        QVERIFY(!PreferenceStore(preferenceFile).open()->contains(u"velmarto.accounts.fallback"_s));
    }
};

QTEST_GUILESS_MAIN(TestAccountProcesses)
#include "tst_accountprocesses.moc"
