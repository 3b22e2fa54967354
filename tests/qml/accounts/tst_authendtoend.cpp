#include "AuthWindow.h"
#include "TestHttpsServer.h"
#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/PasswordHashing.h"
#include "core/accounts/mail/EmailSender.h"
#include "core/accounts/mail/MailDelivery.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using namespace velmarto;
using velmarto::test::AuthWindow;

namespace {

const QString service = u"com.local.velmarto.accounts"_s;
const QString key = u"accounts-db-v1"_s;

} // namespace

// A new user creates an account through the window. The accounts go to the Secret Service on
// the session bus (a throw-away gnome-keyring under scripts/test) and the code travels through a
// local HTTPS relay, from which the test reads it as the user would read the mail.
class TestAuthEndToEnd : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    test::TestHttpsServer m_relay;
    std::shared_ptr<KeychainSecretStore> m_keychain = std::make_shared<KeychainSecretStore>();
    std::optional<QByteArray> m_itemBefore;

    PreferenceStore preferences() const {
        return PreferenceStore(m_directory.filePath(u"preferences.ini"_s));
    }
    AccountStore accounts() const { return AccountStore(m_keychain, preferences()); }

    // What the application builds, with the relay pointed at the local server.
    std::unique_ptr<Session> startSession() const {
        auto relay = std::make_unique<RemoteMailer>(Backend{m_relay.url(u"/send"_s), u"token"_s});
        relay->setSslConfiguration(m_relay.trustingClientConfiguration());
        const MailProfile mail = MailProfile::freedesktop();
        return std::make_unique<Session>(SessionDependencies{
            .accounts = accounts(),
            .preferences = preferences(),
            .delivery = std::make_shared<MailDelivery>(std::move(relay), EmailSender(mail)),
            .mail = mail,
            .clock = [] { return QDateTime::currentDateTimeUtc(); },
            .codeGenerator = [] { return QRandomGenerator::system()->bounded(1'000'000U); },
        });
    }

    QString relayedCode() const {
        const QJsonObject body = QJsonDocument::fromJson(m_relay.requests.last().body).object();
        return body.value(u"code"_s).toString();
    }

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
        QVERIFY(m_relay.start());
        const SecretStore::ReadResult before = m_keychain->read(service, key);
        if (const auto* item = std::get_if<QByteArray>(&before)) {
            m_itemBefore = *item;
        }
        m_keychain->remove(service, key);
    }

    void cleanupTestCase() {
        m_keychain->remove(service, key);
        if (m_itemBefore) {
            m_keychain->add(service, key, *m_itemBefore);
        }
    }

    void aNewUserSignsUpWithTheMailedCodeAndSignsInAgainLater() {
        {
            AuthWindow window(startSession());
            QVERIFY(window.ready());
            window.click(u"createAccountSegment"_s);
            window.click(u"emailField"_s);
            window.type(u"Ann@Example.com"_s);
            window.press(Qt::Key_Tab);
            window.type(u"correct horse"_s);
            window.press(Qt::Key_Tab);
            window.type(u"correct horse"_s);
            window.press(Qt::Key_Return);

            QTRY_COMPARE(window.focused(), u"codeField"_s);
            QTRY_VERIFY_WITH_TIMEOUT(window.shows(u"noteRow"_s), 20'000);
            QCOMPARE(window.text(u"deliveryNote"_s),
                     u"We emailed a 6-digit code to ann@example.com."_s);
            QCOMPARE(m_relay.requests.size(), 1);
            QCOMPARE(m_relay.requests.last().headers.value("authorization"), "Bearer token");
            const QString code = relayedCode();
            QCOMPARE(code.size(), 6);

            window.type(code);
            window.press(Qt::Key_Return);
            QVERIFY(window.session().isSignedIn());
            QCOMPARE(window.session().currentEmail(), u"ann@example.com"_s);
        }
        const QList<Account> stored = accounts().loadAll();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().email, u"ann@example.com"_s);
        QCOMPARE(stored.first().hash, hashPassword(u"correct horse"_s, stored.first().salt));
        QVERIFY(!preferences().open()->contains(u"velmarto.accounts.fallback"_s));

        // A restart keeps the user signed in; after signing out, the password signs in again.
        {
            const auto restarted = startSession();
            QCOMPARE(restarted->currentEmail(), u"ann@example.com"_s);
            restarted->signOut();
        }
        AuthWindow window(startSession());
        QVERIFY(window.ready());
        QVERIFY(!window.session().isSignedIn());
        window.type(u"ann@example.com"_s);
        window.press(Qt::Key_Tab);
        window.type(u"correct horse"_s);
        window.press(Qt::Key_Return);
        QVERIFY(window.session().isSignedIn());
        QCOMPARE(m_relay.requests.size(), 1);
    }
};

QTEST_MAIN(TestAuthEndToEnd)
#include "tst_authendtoend.moc"
