// What a desktop learns about a Velmarto window: the desktop entry it belongs to, its icon, and on
// X11 the window properties task bars read (WM_CLASS, _NET_WM_ICON). CTest runs this under Xvfb.

#include "app/VelmartoApp.h"
#include "support/IsolatedSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QSettings>
#include <QTest>
#include <QWindow>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>
#include <xcb/xcb.h>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;

namespace {

QString desktopEntryValue(const QString& key) {
    QSettings entry(QStringLiteral(VELMARTO_DESKTOP_FILE), QSettings::IniFormat);
    return entry.value(u"Desktop Entry/"_s + key).toString();
}

// The icon's look, not just its presence: the middle of its left edge lies on the accent gradient.
bool looksLikeTheAccent(QRgb pixel) {
    return qAlpha(pixel) == 255 && qBlue(pixel) > 240 && qRed(pixel) > 90 && qRed(pixel) < 200 &&
           qGreen(pixel) < 110;
}

QByteArray windowProperty(xcb_connection_t* connection, xcb_window_t window, const char* name) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, true, qstrlen(name), name), nullptr);
    if (!atom) {
        return {};
    }
    const xcb_atom_t property = atom->atom;
    free(atom);
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, false, window, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
                               nullptr);
    if (!reply) {
        return {};
    }
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    free(reply);
    return value;
}

} // namespace

class TestAppIdentity : public QObject {
    Q_OBJECT

    velmarto::test::IsolatedSettings m_settings{u"appidentity"_s};
    std::unique_ptr<velmarto::VelmartoApp> m_app;
    QWindow* m_window = nullptr;

private slots:
    void initTestCase() {
        velmarto::VelmartoApp::configureApplication();
        m_app = std::make_unique<velmarto::VelmartoApp>();
        QVERIFY(m_app->openWindow());
        QCOMPARE(QGuiApplication::topLevelWindows().size(), 1);
        m_window = QGuiApplication::topLevelWindows().constFirst();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void theWindowBelongsToTheInstalledDesktopEntry() {
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_s,
                 QFileInfo(QStringLiteral(VELMARTO_DESKTOP_FILE)).fileName());
        QCOMPARE(desktopEntryValue(u"Icon"_s), QGuiApplication::desktopFileName());
    }

    void theWindowCarriesTheIcon() {
        const QIcon icon = m_window->icon();
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(256, 256)));
        const QImage picture = icon.pixmap(QSize(32, 32)).toImage();
        QVERIFY(looksLikeTheAccent(picture.pixel(2, 16)));
    }

    void x11TaskBarsFindTheEntryAndTheIcon() {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11) {
            QSKIP("the window is not on X11");
        }
        const auto window = static_cast<xcb_window_t>(m_window->winId());

        // WM_CLASS is "instance\0class\0"; desktops match StartupWMClass against it.
        const QList<QByteArray> wmClass =
            windowProperty(x11->connection(), window, "WM_CLASS").split('\0');
        QVERIFY(wmClass.size() >= 2);
        QCOMPARE(QString::fromLatin1(wmClass.at(1)), desktopEntryValue(u"StartupWMClass"_s));

        // _NET_WM_ICON: for each picture its width, its height and then width × height ARGB
        // pixels, all 32-bit cardinals.
        const QByteArray icon = windowProperty(x11->connection(), window, "_NET_WM_ICON");
        const auto* cardinals = reinterpret_cast<const quint32*>(icon.constData());
        const qsizetype count = icon.size() / qsizetype(sizeof(quint32));
        QList<int> widths;
        bool accentAt32 = false;
        for (qsizetype at = 0; at + 2 <= count;) {
            const quint32 width = cardinals[at];
            const quint32 height = cardinals[at + 1];
            QVERIFY(at + 2 + qsizetype(width * height) <= count);
            widths << int(width);
            if (width == 32) {
                accentAt32 = looksLikeTheAccent(cardinals[at + 2 + 16 * width + 2]);
            }
            at += 2 + qsizetype(width * height);
        }
        QVERIFY2(widths.contains(16) && widths.contains(32) && widths.contains(48),
                 qPrintable(u"sizes in _NET_WM_ICON: "_s + QString::number(widths.size())));
        QVERIFY(accentAt32);
    }

    void cleanupTestCase() { m_app.reset(); }
};

QTEST_MAIN(TestAppIdentity)
#include "tst_appidentity.moc"
