#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QQuickView>

#include <memory>
#include <vector>

namespace velmarto {

// The application: its identity in the preference store, the one QML engine that every window
// shares, and the windows themselves.
class VelmartoApp : public QObject {
    Q_OBJECT

public:
    // Before the QGuiApplication exists: the names decide where QSettings keeps the preferences,
    // the desktop file name which desktop entry the windows belong to.
    static void configureApplication();

    explicit VelmartoApp(QObject* parent = nullptr);

    // A new window titled "Velmarto" holding the Convert tab. Returns false when the view could
    // not be loaded; the errors have then been printed.
    bool openWindow();

private:
    QQmlEngine m_engine;
    // Declared after the engine so that the windows go first.
    std::vector<std::unique_ptr<QQuickView>> m_windows;
};

} // namespace velmarto
