#include "qml/setup/EngineChecklist.h"

#include "core/setup/EngineInstaller.h"

namespace velmarto {

EngineChecklist::EngineChecklist(QObject* parent)
    : QObject(parent) {}

void EngineChecklist::setInstaller(EngineInstaller* installer) {
    if (m_installer == installer) {
        return;
    }
    if (m_installer) {
        m_installer->disconnect(this);
    }
    m_installer = installer;
    if (m_installer) {
        connect(m_installer, &EngineInstaller::finishedChanged, this, [this] {
            if (m_installer->finished()) {
                refreshStatus();
            }
        });
        // Every change of the installer redraws the screen.
        for (auto signal : {&EngineInstaller::outputChanged, &EngineInstaller::isRunningChanged,
                            &EngineInstaller::finishedChanged, &EngineInstaller::successChanged,
                            &EngineInstaller::brewMissingChanged}) {
            connect(m_installer, signal, this, &EngineChecklist::recheck);
        }
        refreshStatus();
    }
    emit installerChanged();
}

void EngineChecklist::recheck() {
    const bool allReady = m_installer && m_installer->converter().allReady();
    if (m_allReady != allReady) {
        m_allReady = allReady;
        emit allReadyChanged();
    }
}

void EngineChecklist::refreshStatus() {
    const ToolStatus status = m_installer->converter().toolStatus();
    if (m_status != status) {
        m_status = status;
        emit statusChanged();
    }
    recheck();
}

} // namespace velmarto
