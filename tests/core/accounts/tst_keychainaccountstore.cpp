#include "FakeCodeDelivery.h"
#include "core/accounts/AccountStore.h"
#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/Session.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

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

// The throw-away keyring of scripts/with-test-keyring.
const QByteArray testKeyringPassword = "throw-away";
const QString secretService = u"org.freedesktop.secrets"_s;
const QString secretServicePath = u"/org/freedesktop/secrets"_s;

// The Secret Service's (oayays) secret, here the master password of a collection.
struct PlainSecret {
    QDBusObjectPath session;
    QByteArray parameters;
    QByteArray value;
    QString contentType;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PlainSecret& secret) {
    argument.beginStructure();
    argument << secret.session << secret.parameters << secret.value << secret.contentType;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PlainSecret& secret) {
    argument.beginStructure();
    argument >> secret.session >> secret.parameters >> secret.value >> secret.contentType;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PlainSecret)

namespace {

QDBusObjectPath defaultCollection() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        secretService, secretServicePath, u"org.freedesktop.Secret.Service"_s, u"ReadAlias"_s);
    call << u"default"_s;
    const QDBusReply<QDBusObjectPath> reply = QDBusConnection::sessionBus().call(call);
    return reply.value();
}

// Locking needs no prompt; a later read asks to unlock, and the prompt fails to show.
bool lockDefaultCollection() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        secretService, secretServicePath, u"org.freedesktop.Secret.Service"_s, u"Lock"_s);
    call << QVariant::fromValue(QList<QDBusObjectPath>{defaultCollection()});
    return QDBusConnection::sessionBus().call(call).type() == QDBusMessage::ReplyMessage;
}

// gnome-keyring's own way to unlock without a prompt, over a plain-text session.
bool unlockDefaultCollection() {
    QDBusMessage open = QDBusMessage::createMethodCall(
        secretService, secretServicePath, u"org.freedesktop.Secret.Service"_s, u"OpenSession"_s);
    open << u"plain"_s << QVariant::fromValue(QDBusVariant(QString()));
    const QDBusMessage opened = QDBusConnection::sessionBus().call(open);
    if (opened.type() != QDBusMessage::ReplyMessage || opened.arguments().size() != 2) {
        return false;
    }
    qDBusRegisterMetaType<PlainSecret>();
    QDBusMessage unlock = QDBusMessage::createMethodCall(
        secretService, secretServicePath,
        u"org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface"_s,
        u"UnlockWithMasterPassword"_s);
    unlock << QVariant::fromValue(defaultCollection())
           << QVariant::fromValue(PlainSecret{opened.arguments().at(1).value<QDBusObjectPath>(),
                                              {},
                                              testKeyringPassword,
                                              u"text/plain"_s});
    return QDBusConnection::sessionBus().call(unlock).type() == QDBusMessage::ReplyMessage;
}

// The unlock prompt is started by the bus; without a display it cannot show and counts as
// dismissed, whatever display the test itself was started with.
void keepPromptsOffScreen() {
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusMessage call =
        QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                       u"org.freedesktop.DBus"_s, u"UpdateActivationEnvironment"_s);
    call << QVariant::fromValue(
        QMap<QString, QString>{{u"DISPLAY"_s, QString()}, {u"WAYLAND_DISPLAY"_s, QString()}});
    QDBusConnection::sessionBus().call(call);
}

} // namespace

// Runs against the Secret Service on the session bus, which the test script provides as a
// throw-away gnome-keyring. An item already there is put back afterwards.
class TestKeychainAccountStore : public QObject {
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
        const SecretStore::ReadResult before = m_keychain->read(service, key);
        if (const QByteArray* item = std::get_if<QByteArray>(&before)) {
            m_itemBefore = *item;
        }
    }

    void cleanupTestCase() {
        m_keychain->remove(service, key);
        if (m_itemBefore) {
            m_keychain->add(service, key, *m_itemBefore);
        }
    }

    void missingItemReadsAsNoAccounts() {
        m_keychain->remove(service, key);
        QVERIFY(std::holds_alternative<SecretStore::Missing>(m_keychain->read(service, key)));
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

    // libsecret reports the item of a locked keyring whose unlock prompt was dismissed as not
    // found. Taken at its word, the next sign-up replaced every account with the new one.
    void lockedKeyringWithADismissedPromptChangesNothing() {
        store().saveAll({ann, bob});
        keepPromptsOffScreen();
        QVERIFY(lockDefaultCollection());
        auto unlockOnFailure = qScopeGuard([] { unlockDefaultCollection(); });

        QVERIFY(std::holds_alternative<SecretStore::Unreadable>(m_keychain->read(service, key)));
        const AccountStore::UpdateOutcome outcome = store().update([](QList<Account> accounts) {
            accounts.append(Account{u"cat@example.com"_s, ann.salt, ann.hash});
            return std::optional(accounts);
        });
        QCOMPARE(outcome, AccountStore::UpdateOutcome::failed);
        QVERIFY(!preferences().open()->contains(u"velmarto.accounts.fallback"_s));

        unlockOnFailure.dismiss();
        QVERIFY(unlockDefaultCollection());
        QCOMPARE(store().loadAll(), (QList<Account>{ann, bob}));
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

QTEST_GUILESS_MAIN(TestKeychainAccountStore)
#include "tst_keychainaccountstore.moc"
