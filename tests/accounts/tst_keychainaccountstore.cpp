#include "FakeCodeDelivery.h"
#include "accounts/AccountStore.h"
#include "accounts/KeychainSecretStore.h"
#include "accounts/Session.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString service = u"com.local.velmarto.accounts"_s;
const QString key = u"accounts-db-v1"_s;

const Account ann{u"ann@example.com"_s, u"0123456789abcdef0123456789abcdef"_s, u"aa"_s};
const Account bob{u"bob@example.com"_s, u"fedcba9876543210fedcba9876543210"_s, u"bb"_s};

// The secrets of every item under the accounts' service and key, as the Secret Service itself
// lists them (QtKeychain files the service as "server" and the key as "user").
QStringList storedSecrets() {
    QProcess secretTool;
    secretTool.setProcessChannelMode(QProcess::MergedChannels);
    secretTool.start(u"secret-tool"_s,
                     {u"search"_s, u"--all"_s, u"server"_s, service, u"user"_s, key});
    if (!secretTool.waitForFinished(30'000)) {
        qWarning("secret-tool did not finish");
        return {u"<secret-tool failed>"_s};
    }
    QStringList secrets;
    for (const QByteArray& line : secretTool.readAll().split('\n')) {
        if (line.startsWith("secret = ")) {
            secrets.append(QString::fromUtf8(line.mid(9)));
        }
    }
    return secrets;
}

} // namespace

// Runs against the Secret Service on the session bus, which the test script provides as a
// throw-away gnome-keyring. An item already there is put back afterwards.
class KeychainAccountStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    std::shared_ptr<KeychainSecretStore> m_keychain = std::make_shared<KeychainSecretStore>();
    std::optional<QByteArray> m_itemBefore;

    PreferenceStore preferences() const {
        return PreferenceStore(m_directory.filePath(u"preferences.ini"_s));
    }
    AccountStore store() const { return AccountStore(m_keychain, preferences()); }

private slots:
    void initTestCase() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            QSKIP("No D-Bus session bus, so there is no Secret Service to test against");
        }
        const QString secrets = u"org.freedesktop.secrets"_s;
        if (!bus.interface()->isServiceRegistered(secrets) &&
            !bus.interface()->activatableServiceNames().value().contains(secrets)) {
            QSKIP("No Secret Service (org.freedesktop.secrets) on the session bus");
        }
        m_itemBefore = m_keychain->read(service, key);
    }

    void cleanupTestCase() {
        m_keychain->remove(service, key);
        if (m_itemBefore) {
            m_keychain->add(service, key, *m_itemBefore);
        }
    }

    void missingItemReadsAsNoAccounts() {
        m_keychain->remove(service, key);
        QVERIFY(store().loadAll().isEmpty());
    }

    void saveLoadAndReplaceLeaveOneItem() {
        store().saveAll({ann});
        QCOMPARE(store().loadAll(), QList<Account>{ann});

        store().saveAll({ann, bob});
        QCOMPARE(store().loadAll(), (QList<Account>{ann, bob}));

        const QStringList secrets = storedSecrets();
        QCOMPARE(secrets.size(), 1);
        QVERIFY2(secrets.first().startsWith(u"[{"_s) && secrets.first().contains(bob.email),
                 qPrintable(secrets.first()));
        QVERIFY(!preferences().open()->contains(u"velmarto.accounts.fallback"_s));
    }

    // The caller waits for the keychain without running its own event loop, so nothing queued
    // on the main thread (a screen's timer, a network reply) runs in the middle of a load.
    void waitingDoesNotReenterTheCallersEventLoop() {
        bool queuedWorkRan = false;
        QTimer::singleShot(0, this, [&queuedWorkRan] { queuedWorkRan = true; });
        store().saveAll({ann});
        store().loadAll();
        QVERIFY(!queuedWorkRan);
        QTRY_VERIFY(queuedWorkRan);
    }

    void sessionFlowsKeepTheirAccountsInTheKeychain() {
        m_keychain->remove(service, key);
        const auto delivery = std::make_shared<test::FakeCodeDelivery>();
        quint32 nextCode = 7;
        const auto makeSession = [&] {
            return std::make_unique<Session>(SessionDependencies{
                .accounts = store(),
                .preferences = preferences(),
                .delivery = delivery,
                .mail = MailProfile::freedesktop(),
                .clock = [] { return QDateTime::currentDateTimeUtc(); },
                .codeGenerator = [&nextCode] { return nextCode++; },
            });
        };

        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        QVERIFY(session->verify(delivery->requests.last().code));
        session->beginChangePassword();
        QVERIFY(session->verify(delivery->requests.last().code, u"changed"_s));
        session->signOut();

        const auto restarted = makeSession();
        QVERIFY(!restarted->signIn(u"ann@example.com"_s, u"secret"_s));
        QVERIFY(restarted->signIn(u"ann@example.com"_s, u"changed"_s));
        QCOMPARE(storedSecrets().size(), 1);
    }
};

QTEST_GUILESS_MAIN(KeychainAccountStoreTest)
#include "tst_keychainaccountstore.moc"
