#include "qml/setup/InstallerLog.h"

namespace velmarto {

InstallerLog::InstallerLog(QObject* parent)
    : QObject(parent) {}

void InstallerLog::setInstaller(EngineInstaller* installer) {
    if (m_installer == installer) {
        return;
    }
    if (m_installer) {
        m_installer->disconnect(this);
    }
    m_installer = installer;
    clear();
    if (m_installer) {
        append(m_installer->output());
        connect(m_installer, &EngineInstaller::outputAppended, this, &InstallerLog::append);
        connect(m_installer, &EngineInstaller::outputChanged, this, [this] {
            if (m_installer->output().isEmpty()) {
                clear();
            }
        });
    }
    emit installerChanged();
}

void InstallerLog::append(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const bool wasEmpty = m_pages.isEmpty();
    m_pages.append(text);
    if (wasEmpty) {
        emit isEmptyChanged();
    }
    emit textAdded();
}

void InstallerLog::clear() {
    if (m_pages.isEmpty()) {
        return;
    }
    m_pages.clear();
    emit isEmptyChanged();
}

} // namespace velmarto
