#include "TestHttpsServer.h"
#include "app/VelmartoApp.h"
#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/mail/EmailSender.h"
#include "core/accounts/mail/MailDelivery.h"
#include "qml/app/RootViewModel.h"
#include "support/IsolatedSettings.h"
#include "support/MidiFileBuilder.h"
#include "support/WindowDriver.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString accountsService = u"com.local.velmarto.accounts"_s;
const QString accountsKey = u"accounts-db-v1"_s;

// The lightness at the window's bottom-left corner, which every screen leaves to the window.
int cornerLightness(QQuickWindow& window) {
    const QImage image = window.grabWindow();
    return image.pixelColor(2, image.height() - 2).lightness();
}

} // namespace

// A new user's first run, through the application's own windows: the real engines, the real
// keyring, a local HTTPS relay for the code and a real window. From a fresh configuration the
// user creates an account, verifies the mailed code, converts a MIDI file named on the command
// line, saves the PDF, switches to dark on the Settings tab, signs out and signs in again.
class TestFirstRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!Converter(PlatformProfile::current()).allReady()) {
            QSKIP("MuseScore, musicxml2ly and LilyPond must be installed");
        }
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() ||
            (!bus.interface()->isServiceRegistered(u"org.freedesktop.secrets"_s) &&
             !bus.interface()->activatableServiceNames().value().contains(
                 u"org.freedesktop.secrets"_s))) {
            QSKIP("No Secret Service (org.freedesktop.secrets) on the session bus");
        }
        QVERIFY(QDir().mkpath(QStringLiteral(VELMARTO_SCREENSHOT_DIR)));
        QVERIFY(m_relay.start());
        const SecretStore::ReadResult before = m_keychain->read(accountsService, accountsKey);
        if (const auto* item = std::get_if<QByteArray>(&before)) {
            m_itemBefore = *item;
        }
        m_keychain->remove(accountsService, accountsKey);
    }

    void cleanupTestCase() {
        m_keychain->remove(accountsService, accountsKey);
        if (m_itemBefore) {
            m_keychain->add(accountsService, accountsKey, *m_itemBefore);
        }
    }

    void aNewUserGoesFromSignUpToASavedScoreAndBack() {
        const QString midi = m_files.filePath(u"First Steps.mid"_s);
        QVERIFY(writeFile(midi, test::MidiFileBuilder::scale(8).build()));
        VelmartoApp app(environment());
        QVERIFY(app.openWindow(midi));
        QQuickView& window = *app.windows().front();
        test::WindowDriver user(window);
        QVERIFY(user.activate());
        auto* root = window.findChild<RootViewModel*>();
        QVERIFY(root);
        QTRY_VERIFY(user.shows(u"createAccountSegment"_s));
        save(window, u"firstrun-1-sign-in"_s);

        user.click(u"createAccountSegment"_s);
        user.click(u"emailField"_s);
        user.type(u"new.user@example.com"_s);
        user.press(Qt::Key_Tab);
        user.type(u"correct horse"_s);
        user.press(Qt::Key_Tab);
        user.type(u"correct horse"_s);
        user.press(Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(m_relay.requests.size(), 1, 20'000);
        QTRY_COMPARE(user.focused(), u"codeField"_s);
        user.type(relayedCode());
        user.press(Qt::Key_Return);
        QTRY_VERIFY(user.shows(u"convertButton"_s));
        QCOMPARE(root->session()->currentEmail(), u"new.user@example.com"_s);
        QTRY_COMPARE(user.text(u"midiFileName"_s), u"First Steps.mid"_s);

        user.click(u"convertButton"_s);
        QTRY_VERIFY_WITH_TIMEOUT(root->contentModel()->hasResult(), 180'000);
        QTRY_VERIFY_WITH_TIMEOUT(firstPageShown(window), 20'000);
        save(window, u"firstrun-2-converted"_s);

        const QString savedPdf = m_files.filePath(u"Saved Score.pdf"_s);
        user.click(u"savePDFButton"_s);
        QTRY_VERIFY(user.shows(u"fileNameTextField"_s));
        user.click(u"fileNameTextField"_s);
        user.press(Qt::Key_A, Qt::ControlModifier);
        user.type(savedPdf);
        QQuickItem* saveButton = buttonLabelled(window.contentItem(), u"Save"_s);
        QVERIFY(saveButton);
        QTest::mouseClick(&window, Qt::LeftButton, {},
                          saveButton->mapToScene(saveButton->boundingRect().center()).toPoint());
        QTRY_VERIFY(QFile::exists(savedPdf));
        QFile saved(savedPdf);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.read(5) == "%PDF-");

        user.click(u"tab-Settings"_s);
        QTRY_VERIFY(user.shows(u"signOutButton"_s));
        QVERIFY(cornerLightness(window) > 200);
        user.click(u"segment-dark"_s);
        QTRY_VERIFY(cornerLightness(window) < 80);
        save(window, u"firstrun-3-settings-dark"_s);

        user.click(u"signOutButton"_s);
        QTRY_VERIFY(user.shows(u"emailField"_s));
        user.click(u"emailField"_s);
        user.type(u"new.user@example.com"_s);
        user.press(Qt::Key_Tab);
        user.type(u"correct horse"_s);
        user.press(Qt::Key_Return);
        QTRY_VERIFY(user.shows(u"convertButton"_s));
        QVERIFY(root->session()->isSignedIn());
        QCOMPARE(m_relay.requests.size(), 1);
        save(window, u"firstrun-4-signed-in-again-dark"_s);
    }

private:
    // The application as shipped, except that codes travel through the local relay.
    AppEnvironment environment() const {
        return AppEnvironment{
            .desktopBus = QDBusConnection(u"no-desktop"_s),
            .sessionDependencies =
                [this] {
                    SessionDependencies dependencies = SessionDependencies::production();
                    auto relay = std::make_unique<RemoteMailer>(
                        Backend{m_relay.url(u"/send"_s), u"token"_s});
                    relay->setSslConfiguration(m_relay.trustingClientConfiguration());
                    dependencies.delivery = std::make_shared<MailDelivery>(
                        std::move(relay), EmailSender(dependencies.mail));
                    return dependencies;
                },
        };
    }

    QString relayedCode() const {
        const QJsonObject body = QJsonDocument::fromJson(m_relay.requests.last().body).object();
        return body.value(u"code"_s).toString();
    }

    static bool writeFile(const QString& path, const QByteArray& contents) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
    }

    static bool firstPageShown(QQuickWindow& window) {
        test::WindowDriver driver(window);
        const QQuickItem* page = driver.item(u"pdfPage0"_s);
        return page && page->property("isRendered").toBool();
    }

    // A shown button of Qt's own file dialog, which names its buttons by their text only.
    static QQuickItem* buttonLabelled(QQuickItem* item, const QString& text) {
        if (!item->isVisible()) {
            return nullptr;
        }
        if (item->inherits("QQuickAbstractButton") && item->property("text").toString() == text) {
            return item;
        }
        for (QQuickItem* child : item->childItems()) {
            if (QQuickItem* found = buttonLabelled(child, text)) {
                return found;
            }
        }
        return nullptr;
    }

    static void save(QQuickWindow& window, const QString& name) {
        const QString path = QStringLiteral(VELMARTO_SCREENSHOT_DIR) + u'/' + name + u".png"_s;
        QVERIFY2(window.grabWindow().save(path), qPrintable(path));
        qInfo("wrote %s", qPrintable(path));
    }

    test::IsolatedSettings m_settings{u"firstrun"_s};
    QTemporaryDir m_files;
    test::TestHttpsServer m_relay;
    std::shared_ptr<KeychainSecretStore> m_keychain = std::make_shared<KeychainSecretStore>();
    std::optional<QByteArray> m_itemBefore;
};

QTEST_MAIN(TestFirstRun)
#include "tst_firstrun.moc"
