#pragma once

#include "platform/PortalColorScheme.h"
#include "ui/style/ColorSchemeApplier.h"

#include <QDBusConnection>
#include <QObject>
#include <QQmlEngine>
#include <QQuickView>

#include <memory>
#include <vector>

namespace velmarto {

// The application: its identity in the preference store, the one QML engine that every window
// shares, the colour scheme all of them follow, and the windows themselves.
class VelmartoApp : public QObject {
    Q_OBJECT

public:
    // Before the QGuiApplication exists: the names decide where QSettings keeps the preferences,
    // the desktop file name which desktop entry the windows belong to.
    static void configureApplication();

    // desktopBus is where the desktop's dark-style preference is asked for (Linux).
    explicit VelmartoApp(const QDBusConnection& desktopBus = QDBusConnection::sessionBus(),
                         QObject* parent = nullptr);

    // The file named on the command line: the first argument that is not an option, or the one
    // after "--". Desktop launchers hand over the file of an "Open with" this way.
    static QString fileToOpen(const QStringList& arguments);

    // A new window titled "Velmarto" with a session of its own: the sign-in screen, then the
    // Convert tab, with fileToOpen chosen when one is given. Returns false when the view could
    // not be loaded; the errors have then been printed. The standard new-window shortcut of
    // every window opens another; a closed window goes away, and closing the last one ends the
    // application.
    bool openWindow(const QString& fileToOpen = {});

    const std::vector<std::unique_ptr<QQuickView>>& windows() const { return m_windows; }

protected:
    // The Finder hands over the files it opens with Velmarto as file-open events.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closeWindow(QQuickView* window);

    std::unique_ptr<PortalColorScheme> m_desktopColorScheme;
    ColorSchemeApplier m_colorScheme;
    QQmlEngine m_engine;
    // Declared after the engine so that the windows go first.
    std::vector<std::unique_ptr<QQuickView>> m_windows;
};

} // namespace velmarto
