#include "SettingsWindow.h"
#include "core/platform/PortalColorScheme.h"
#include "qml/style/ColorSchemeApplier.h"
#include "support/FakeDesktopPortal.h"
#include "support/IsolatedSettings.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::ColorSchemeApplier;
using velmarto::PortalColorScheme;
using velmarto::test::FakeDesktopPortal;
using velmarto::test::PrivateSessionBus;
using velmarto::test::SettingsWindow;

namespace {

const QColor accentTop = QColor::fromRgbF(0.42f, 0.36f, 1.0f);

// The colour the window shows at its bottom-left corner, where the tab's tint has faded out.
int backgroundLightness(QQuickView& view) {
    const QImage image = view.grabWindow();
    return image.pixelColor(4, image.height() - 4).lightness();
}

bool looksDark(QQuickView& view) {
    return backgroundLightness(view) < 80;
}

bool looksLight(QQuickView& view) {
    return backgroundLightness(view) > 200;
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_bus = std::make_unique<PrivateSessionBus>();
        if (m_bus->address().isEmpty()) {
            QSKIP("dbus-daemon is not installed");
        }
        QVERIFY(m_bus->connect(u"client"_s));
    }

    void cleanupTestCase() { m_bus.reset(); }

    void init() { QSettings().clear(); }

    void systemFollowsTheDesktopLive() {
        FakeDesktopPortal portal(m_bus->address(), 2);
        QVERIFY(portal.isServing());
        PortalColorScheme desktop(QDBusConnection(u"client"_s));
        SettingsWindow window;
        ColorSchemeApplier applier(*window.preferences, &desktop);
        QVERIFY(window.ready());
        QVERIFY(looksLight(window.view));

        portal.changeColorScheme(1);
        QTRY_COMPARE(desktop.prefersDark(), true);
        QTRY_VERIFY(looksDark(window.view));

        portal.changeColorScheme(0);
        QTRY_VERIFY(looksLight(window.view));
    }

    void anUnknownStoredAppearanceFollowsTheDesktop_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("another word") << u"sepia"_s;
        QTest::newRow("another case") << u"Dark"_s;
    }

    void anUnknownStoredAppearanceFollowsTheDesktop() {
        QFETCH(QString, stored);
        QSettings().setValue(u"appearance"_s, stored);
        FakeDesktopPortal portal(m_bus->address(), 1);
        PortalColorScheme desktop(QDBusConnection(u"client"_s));
        SettingsWindow window;
        ColorSchemeApplier applier(*window.preferences, &desktop);
        QVERIFY(window.ready());

        QVERIFY(looksDark(window.view));
        QCOMPARE(window.chosen(u"appearancePicker"_s), QString());

        portal.changeColorScheme(2);
        QTRY_VERIFY(looksLight(window.view));
    }

    void lightAndDarkOverrideTheDesktop() {
        FakeDesktopPortal portal(m_bus->address(), 1);
        PortalColorScheme desktop(QDBusConnection(u"client"_s));
        SettingsWindow window;
        ColorSchemeApplier applier(*window.preferences, &desktop);
        QVERIFY(window.ready());
        QVERIFY(looksDark(window.view));

        window.click(window.segment(u"appearancePicker"_s, u"light"_s));
        QTRY_VERIFY(looksLight(window.view));
        // The desktop changing its mind does not matter while the choice is forced.
        portal.changeColorScheme(2);
        portal.changeColorScheme(1);
        QTRY_COMPARE(desktop.prefersDark(), true);
        QVERIFY(looksLight(window.view));

        window.click(window.segment(u"appearancePicker"_s, u"system"_s));
        QTRY_VERIFY(looksDark(window.view));

        window.click(window.segment(u"appearancePicker"_s, u"dark"_s));
        portal.changeColorScheme(2);
        QTRY_COMPARE(desktop.prefersDark(), false);
        QVERIFY(looksDark(window.view));
    }

    void withoutAPortalSystemIsLight() {
        PortalColorScheme desktop(QDBusConnection(u"client"_s));
        SettingsWindow window;
        ColorSchemeApplier applier(*window.preferences, &desktop);
        QVERIFY(window.ready());

        QVERIFY(looksLight(window.view));
    }

    void theStandardControlsTakeTheSchemeAndKeepTheAccent() {
        PortalColorScheme desktop(QDBusConnection(u"client"_s));
        SettingsWindow window;
        ColorSchemeApplier applier(*window.preferences, &desktop);

        window.preferences->setAppearance(u"dark"_s);
        const QPalette dark = QGuiApplication::palette();
        window.preferences->setAppearance(u"light"_s);
        const QPalette light = QGuiApplication::palette();

        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::ToolTipBase}) {
            QVERIFY2(dark.color(role).lightness() < 80, qPrintable(dark.color(role).name()));
            QVERIFY2(light.color(role).lightness() > 200, qPrintable(light.color(role).name()));
        }
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
            QVERIFY2(dark.color(role).lightness() > 200, qPrintable(dark.color(role).name()));
            QVERIFY2(light.color(role).lightness() < 80, qPrintable(light.color(role).name()));
        }
        QCOMPARE(dark.color(QPalette::Highlight), accentTop);
        QCOMPARE(light.color(QPalette::Highlight), accentTop);
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"appearance"_s};
    std::unique_ptr<PrivateSessionBus> m_bus;
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
