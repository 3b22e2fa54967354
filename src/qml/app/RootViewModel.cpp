#include "qml/app/RootViewModel.h"

#include <QJSEngine>

#include <utility>

namespace velmarto {

RootViewModel::RootViewModel(EngineSetupProfile setup, Screens screens, QObject* parent)
    : QObject(parent)
    , m_setup(std::move(setup))
    , m_screens(std::move(screens))
    , m_content(m_screens.newContent(this)) {
    followContent();
    // Only a sign-out starts over: a file the window was opened with waits for the first sign-in.
    connect(m_screens.session, &Session::isSignedInChanged, this,
            [this, wasSignedIn = m_screens.session->isSignedIn()]() mutable {
                const bool isSignedIn = m_screens.session->isSignedIn();
                if (std::exchange(wasSignedIn, isSignedIn) && !isSignedIn) {
                    startOverForNextUser();
                }
            });
}

void RootViewModel::startOverForNextUser() {
    ContentViewModel* previous = std::exchange(m_content, m_screens.newContent(this));
    previous->cancel();
    followContent();
    emit contentModelChanged();
    emit windowTitleChanged();
    previous->deleteLater();
}

void RootViewModel::followContent() {
    connect(m_content, &ContentViewModel::midiURLChanged, this, &RootViewModel::windowTitleChanged);
}

QString RootViewModel::windowTitle() const {
    const QString document = m_content->documentTitle();
    return document.isEmpty() ? QStringLiteral("Velmarto")
                              : document + QStringLiteral(" — Velmarto");
}

void RootViewModel::openNewWindow() {
    emit newWindowRequested();
}

void RootViewModel::askToQuit() {
    if (!m_isAskingToQuit) {
        m_isAskingToQuit = true;
        emit isAskingToQuitChanged();
    }
}

void RootViewModel::answerQuit(bool quit) {
    if (m_isAskingToQuit) {
        m_isAskingToQuit = false;
        emit isAskingToQuitChanged();
    }
    if (quit) {
        emit quitConfirmed();
    }
}

void RootViewModel::setShowSetupSheet(bool showSetupSheet) {
    if (m_showSetupSheet != showSetupSheet) {
        m_showSetupSheet = showSetupSheet;
        emit showSetupSheetChanged();
    }
}

void RootViewModel::appear() {
    if (std::exchange(m_hasAppeared, true)) {
        return;
    }
    m_screens.engines->refresh();
    if (m_screens.engines->allReady()) {
        m_enginesReady = true;
        emit enginesReadyChanged();
    }
    m_screens.session->refresh();
}

void RootViewModel::finishSetup() {
    if (m_showSetupSheet) {
        setShowSetupSheet(false);
        return;
    }
    if (!m_enginesReady) {
        m_enginesReady = true;
        emit enginesReadyChanged();
    }
}

EngineInstaller* RootViewModel::newInstaller(QObject* owner) const {
    auto* installer = new EngineInstaller(m_setup, m_screens.engines, owner);
    // The owner decides when it goes, not the JavaScript garbage collector.
    QJSEngine::setObjectOwnership(installer, QJSEngine::CppOwnership);
    return installer;
}

} // namespace velmarto
