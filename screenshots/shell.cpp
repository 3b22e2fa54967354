#include "RootWindow.h"
#include "SettingsWindow.h"
#include "qml/style/ColorSchemeApplier.h"
#include "support/IsolatedSettings.h"

#include <QDir>
#include <QSettings>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::ColorSchemeApplier;
using velmarto::test::SettingsWindow;

// Pictures of the application shell in light and dark, kept in the build tree for people to
// compare with the intended layout.
class TestShellScreenshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QSettings().clear();
        QVERIFY(QDir().mkpath(QStringLiteral(VELMARTO_SCREENSHOT_DIR)));
    }

    void theSettingsTabInBothSchemes() {
        SettingsWindow window(false);
        ColorSchemeApplier applier(*window.preferences, nullptr);
        window.view.resize(900, 1040);
        window.preferences->setAppearance(u"light"_s);
        QVERIFY(window.ready());
        QTest::qWait(300);
        save(window.view, u"settings-light"_s);

        window.preferences->setAppearance(u"dark"_s);
        QTest::qWait(300);
        save(window.view, u"settings-dark"_s);
    }

    void theTabsInBothSchemes() {
        velmarto::test::RootWindow window;
        ColorSchemeApplier applier(window.preferences, nullptr);
        window.preferences.setAppearance(u"light"_s);
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.view.resize(1100, 720);
        QTest::qWait(300);
        save(window.view, u"tabs-convert-light"_s);

        window.preferences.setAppearance(u"dark"_s);
        QTest::qWait(300);
        save(window.view, u"tabs-convert-dark"_s);
    }

    // The keyboard shortcuts over the tabs, opened from the keyboard.
    void theShortcutsSheetInBothSchemes() {
        velmarto::test::RootWindow window;
        ColorSchemeApplier applier(window.preferences, nullptr);
        window.preferences.setAppearance(u"light"_s);
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.view.resize(1100, 720);
        QTest::keyClick(&window.view, Qt::Key_Question, Qt::ControlModifier);
        QTest::qWait(400);
        save(window.view, u"shortcuts-light"_s);

        window.preferences.setAppearance(u"dark"_s);
        QTest::qWait(300);
        save(window.view, u"shortcuts-dark"_s);
    }

    // The setup screen as a sheet over the tabs, opened from Settings.
    void theSetupSheetInBothSchemes() {
        velmarto::test::RootWindow window;
        ColorSchemeApplier applier(window.preferences, nullptr);
        window.preferences.setAppearance(u"light"_s);
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.click(u"tab-Settings"_s);
        window.click(u"openEngineSetupButton"_s);
        QTRY_VERIFY(window.item(u"setupView"_s));
        window.view.resize(1100, 720);
        QTest::qWait(400);
        save(window.view, u"setup-sheet-light"_s);

        window.preferences.setAppearance(u"dark"_s);
        QTest::qWait(300);
        save(window.view, u"setup-sheet-dark"_s);
    }

private:
    static void save(QQuickView& view, const QString& name) {
        const QString path = QStringLiteral(VELMARTO_SCREENSHOT_DIR) + u'/' + name + u".png"_s;
        QVERIFY2(view.grabWindow().save(path), qPrintable(path));
        qInfo("wrote %s", qPrintable(path));
    }

    velmarto::test::IsolatedSettings m_settings{u"shellscreenshots"_s};
};

QTEST_MAIN(TestShellScreenshots)
#include "shell.moc"
