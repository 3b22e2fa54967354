#pragma once

#include "app/AppEnvironment.h"
#include "core/conversion/Converter.h"
#include "core/conversion/EngineStatus.h"
#include "core/platform/DesktopNotifier.h"
#include "core/platform/FileRevealer.h"
#include "core/platform/PlatformProfile.h"
#include "core/platform/PortalColorScheme.h"
#include "core/settings/Preferences.h"
#include "qml/style/ColorSchemeApplier.h"

#include <QObject>
#include <QQmlEngine>
#include <QQuickView>

#include <memory>
#include <vector>

namespace velmarto {

class RootViewModel;

// The application: its identity in the preference store, the one QML engine that every window
// shares, the colour scheme all of them follow, and the windows themselves. It is also the one
// place that wires the application: every collaborator is built here once, and each window's
// models get theirs through their constructors. A new screen follows the same path: its model
// takes what it needs from the members below, and its view takes the model as a required
// property. Nothing reaches for a global.
class VelmartoApp : public QObject {
    Q_OBJECT

public:
    // Before the QGuiApplication exists: the names decide where QSettings keeps the preferences,
    // the desktop file name which desktop entry the windows belong to.
    static void configureApplication();

    // After configureApplication and the QGuiApplication.
    explicit VelmartoApp(AppEnvironment environment = {}, QObject* parent = nullptr);

    // The file named on the command line: the first argument that is not an option, or the one
    // after "--". Desktop launchers hand over the file of an "Open with" this way.
    static QString fileToOpen(const QStringList& arguments);

    // A new window with a session of its own, titled after the chosen file ("Little Tune —
    // Velmarto", or "Velmarto" before one is chosen): engine setup when an engine is missing,
    // sign-in while nobody is signed in, then the tabs, with fileToOpen chosen when one is given.
    // Returns false when the view could not be loaded; the errors have then been printed. The
    // standard shortcuts of every window open another, close it, and quit (asking first while a
    // conversion runs); a closed window goes away, and closing the last one ends the application.
    bool openWindow(const QString& fileToOpen = {});

    const std::vector<std::unique_ptr<QQuickView>>& windows() const { return m_windows; }
    // The preferences every window shares.
    Preferences& preferences() { return m_preferences; }
    const EngineStatus& engineStatus() const { return m_engineStatus; }

protected:
    // The Finder hands over the files it opens with Velmarto as file-open events.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closeWindow(QQuickView* window);
    // Quits at once, or asks in the given window first while any window converts.
    void quit(RootViewModel* askingWindow);

    AppEnvironment m_environment;
    // Shared by every window, so that a preference changed in one is seen in all of them.
    Preferences m_preferences;
    Converter m_converter{m_environment.profile};
    // Shared by every window; looked at again whenever one of them comes back into use.
    EngineStatus m_engineStatus{EngineLocator(m_environment.profile)};
    FileRevealer m_revealer{m_environment.profile};
    DesktopNotifier m_notifier;
    std::unique_ptr<PortalColorScheme> m_desktopColorScheme;
    ColorSchemeApplier m_colorScheme;
    QQmlEngine m_engine;
    // Declared after the engine so that the windows go first.
    std::vector<std::unique_ptr<QQuickView>> m_windows;
};

} // namespace velmarto
