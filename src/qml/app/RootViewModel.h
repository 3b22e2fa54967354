#pragma once

#include "core/accounts/Session.h"
#include "core/conversion/EngineStatus.h"
#include "core/platform/EngineSetupProfile.h"
#include "core/settings/Preferences.h"
#include "core/setup/EngineInstaller.h"
#include "qml/convert/ContentViewModel.h"
#include "qml/settings/SettingsViewModel.h"

#include <QObject>
#include <QtQmlIntegration>

#include <functional>

namespace velmarto {

// What one window shows: engine setup until the engines are ready, then sign-in while nobody is
// signed in, then the tabs. It holds the window's session and the models of its screens, and
// hands each setup screen an installer of its own. Everything lives on the main thread.
class RootViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the application for each window")

    // Never goes back to false: only the next launch looks for the engines again.
    Q_PROPERTY(bool enginesReady READ enginesReady NOTIFY enginesReadyChanged)
    // The setup screen shown as a sheet over the tabs.
    Q_PROPERTY(bool showSetupSheet READ showSetupSheet WRITE setShowSetupSheet NOTIFY
                   showSetupSheetChanged)
    Q_PROPERTY(velmarto::Session* session READ session CONSTANT)
    Q_PROPERTY(velmarto::Preferences* preferences READ preferences CONSTANT)
    Q_PROPERTY(velmarto::EngineStatus* engines READ engines CONSTANT)
    // A new one for each user: signing out leaves nothing of the last user's work behind.
    Q_PROPERTY(
        velmarto::ContentViewModel* contentModel READ contentModel NOTIFY contentModelChanged)
    Q_PROPERTY(velmarto::SettingsViewModel* settingsModel READ settingsModel CONSTANT)
    // "Little Tune — Velmarto" while a file is chosen, "Velmarto" before.
    Q_PROPERTY(QString windowTitle READ windowTitle NOTIFY windowTitleChanged)
    // Quitting waits for an answer while a conversion runs.
    Q_PROPERTY(bool isAskingToQuit READ isAskingToQuit NOTIFY isAskingToQuitChanged)

public:
    struct Screens {
        Session* session;
        Preferences* preferences;
        EngineStatus* engines;
        // Builds a Convert screen's model, owned by the given parent.
        std::function<ContentViewModel*(QObject* parent)> newContent;
        SettingsViewModel* settings;
    };

    // The session, preferences, engine status and settings model are kept as pointers; their
    // owner keeps them as long as this model. The Convert screen's model is this model's own. The
    // setup profile is what each new installer drives.
    RootViewModel(EngineSetupProfile setup, Screens screens, QObject* parent = nullptr);

    bool enginesReady() const { return m_enginesReady; }
    bool showSetupSheet() const { return m_showSetupSheet; }
    Session* session() const { return m_screens.session; }
    Preferences* preferences() const { return m_screens.preferences; }
    EngineStatus* engines() const { return m_screens.engines; }
    ContentViewModel* contentModel() const { return m_content; }
    SettingsViewModel* settingsModel() const { return m_screens.settings; }
    QString windowTitle() const;
    bool isAskingToQuit() const { return m_isAskingToQuit; }

    void setShowSetupSheet(bool showSetupSheet);

    // The steps of the window's first appearance, in this order: the engines are looked for on
    // disk, then the session reads who is remembered. Later calls do nothing.
    void appear();
    // A setup screen's way on: the sheet closes when it shows one; otherwise the main screens may
    // show from now on.
    Q_INVOKABLE void finishSetup();
    // A new installer for a new setup screen, destroyed with owner.
    Q_INVOKABLE velmarto::EngineInstaller* newInstaller(QObject* owner) const;
    Q_INVOKABLE void openNewWindow();
    // Puts the question whether to quit although a conversion runs.
    void askToQuit();
    // The answer: quit, or keep converting.
    Q_INVOKABLE void answerQuit(bool quit);

signals:
    void enginesReadyChanged();
    void contentModelChanged();
    void showSetupSheetChanged();
    void windowTitleChanged();
    void isAskingToQuitChanged();
    void newWindowRequested();
    void quitConfirmed();

private:
    // Stops the running conversion and forgets the file, the score and any error.
    void startOverForNextUser();
    void followContent();

    EngineSetupProfile m_setup;
    Screens m_screens;
    ContentViewModel* m_content;
    bool m_hasAppeared = false;
    bool m_enginesReady = false;
    bool m_showSetupSheet = false;
    bool m_isAskingToQuit = false;
};

} // namespace velmarto
