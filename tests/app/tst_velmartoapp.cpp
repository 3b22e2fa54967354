#include "app/VelmartoApp.h"
#include "core/accounts/Session.h"
#include "core/conversion/Converter.h"
#include "core/settings/Preferences.h"
#include "qml/app/RootViewModel.h"
#include "support/FakeEngines.h"
#include "support/IsolatedSettings.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::Preferences;
using velmarto::VelmartoApp;

namespace {

// The lightness at the window's bottom-left corner, where every screen lets the window show.
int cornerLightness(QQuickView& window) {
    const QImage image = window.grabWindow();
    return image.pixelColor(2, image.height() - 2).lightness();
}

} // namespace

// The application's windows as the user meets them: titled, never smaller than the layout
// needs, one more for each new-window shortcut, all in the same colour scheme.
class TestVelmartoApp : public QObject {
    Q_OBJECT

private slots:
    void init() { Preferences().setAppearance(u"light"_s); }

    void aWindowIsTitledAndKeepsItsMinimumSize() {
        VelmartoApp app({.desktopBus = QDBusConnection(u"no-desktop"_s)});
        QVERIFY(app.openWindow());
        QQuickView& window = *app.windows().front();

        QCOMPARE(window.title(), u"Velmarto"_s);
        QCOMPARE(window.minimumSize(), QSize(860, 600));
    }

    void theNewWindowShortcutOpensAnotherAndAppearanceColoursBoth() {
        VelmartoApp app({.desktopBus = QDBusConnection(u"no-desktop"_s)});
        QVERIFY(app.openWindow());
        QQuickView& first = *app.windows().front();
        QVERIFY(QTest::qWaitForWindowExposed(&first));

        QTest::keySequence(&first, QKeySequence::New);

        QCOMPARE(app.windows().size(), size_t(2));
        QQuickView& second = *app.windows().back();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QVERIFY(cornerLightness(first) > 200);
        QVERIFY(cornerLightness(second) > 200);

        app.preferences().setAppearance(u"dark"_s);

        QTRY_VERIFY(cornerLightness(first) < 80);
        QTRY_VERIFY(cornerLightness(second) < 80);
    }

    // Windows share what is stored and the preferences, never their sessions.
    void signingOutInOneWindowLeavesTheOtherSignedIn() {
        if (!velmarto::Converter(velmarto::PlatformProfile::current()).allReady()) {
            QSKIP("The engines are not installed, so every window starts on setup.");
        }
        QSettings().setValue(u"session.currentEmail"_s, u"ada@example.com"_s);
        VelmartoApp app({.desktopBus = QDBusConnection(u"no-desktop"_s)});
        QVERIFY(app.openWindow());
        QVERIFY(app.openWindow());
        const auto sessionOf = [&app](std::size_t window) {
            return app.windows().at(window)->findChild<velmarto::RootViewModel*>()->session();
        };
        QVERIFY(sessionOf(0)->isSignedIn());
        QVERIFY(sessionOf(1)->isSignedIn());

        sessionOf(0)->signOut();

        QVERIFY(!sessionOf(0)->isSignedIn());
        QVERIFY(sessionOf(1)->isSignedIn());
        QCOMPARE(sessionOf(1)->currentEmail(), u"ada@example.com"_s);
    }

    // Engines installed while the user was elsewhere show as soon as a window is back in use.
    void aWindowBackInUseSeesTheEnginesInstalledMeanwhile() {
        velmarto::test::FakeEngines engines;
        VelmartoApp app(
            {.desktopBus = QDBusConnection(u"no-desktop"_s), .profile = engines.profile()});
        QVERIFY(app.openWindow());
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));

        engines.installWorkingEngines();
        QVERIFY(!app.engineStatus().allReady());
        app.windows().front()->requestActivate();

        QTRY_VERIFY(app.engineStatus().allReady());
    }

    void aWindowIsTitledAfterItsScoreAndTheCloseShortcutClosesIt() {
        velmarto::test::FakeEngines engines;
        engines.installWorkingEngines();
        const QString midi = engines.writeMidi(u"little_tune.mid"_s);
        VelmartoApp app(
            {.desktopBus = QDBusConnection(u"no-desktop"_s), .profile = engines.profile()});
        QVERIFY(app.openWindow());
        QVERIFY(app.openWindow(midi));
        QQuickView& second = *app.windows().back();
        QCOMPARE(second.title(), u"Little Tune — Velmarto"_s);
        QVERIFY(QTest::qWaitForWindowExposed(&second));

        QTest::keySequence(&second, QKeySequence::Close);

        QCOMPARE(app.windows().size(), size_t(1));
        QQuickView& first = *app.windows().front();
        QCOMPARE(first.title(), u"Velmarto"_s);
        first.findChild<velmarto::RootViewModel*>()->contentModel()->openGivenFile(midi);
        QCOMPARE(first.title(), u"Little Tune — Velmarto"_s);
    }

    void quittingDuringAConversionAsksFirst() {
        velmarto::test::FakeEngines engines;
        engines.installWorkingEngines();
        engines.installMuseScore(u"exec sleep 30"_s);
        QSettings().setValue(u"session.currentEmail"_s, u"ada@example.com"_s);
        VelmartoApp app(
            {.desktopBus = QDBusConnection(u"no-desktop"_s), .profile = engines.profile()});
        QVERIFY(app.openWindow(engines.writeMidi(u"Song.mid"_s)));
        QQuickView& window = *app.windows().front();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* root = window.findChild<velmarto::RootViewModel*>();
        root->contentModel()->convert();
        QVERIFY(root->contentModel()->isConverting());

        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);

        QVERIFY(root->isAskingToQuit());
        auto* question = window.findChild<QObject*>(u"quitQuestion"_s);
        QVERIFY(question);
        QTRY_VERIFY(question->property("opened").toBool());
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_VERIFY(!question->property("visible").toBool());
        QVERIFY(!root->isAskingToQuit());
        QVERIFY(root->contentModel()->isConverting());
        QCOMPARE(app.windows().size(), size_t(1));
    }

    // With no window left, the platform's rule ends the application (quitOnLastWindowClosed).
    void aClosedWindowGoesAway() {
        VelmartoApp app({.desktopBus = QDBusConnection(u"no-desktop"_s)});
        QVERIFY(app.openWindow());
        QTest::keySequence(app.windows().front().get(), QKeySequence::New);
        QCOMPARE(app.windows().size(), size_t(2));

        app.windows().front()->close();
        QCOMPARE(app.windows().size(), size_t(1));

        app.windows().front()->close();
        QVERIFY(app.windows().empty());
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"velmartoapp"_s};
};

QTEST_MAIN(TestVelmartoApp)
#include "tst_velmartoapp.moc"
