#include "core/conversion/EngineStatus.h"

#include <QFileInfo>

#include <utility>

namespace velmarto {

EngineStatus::EngineStatus(EngineLocator locator, QObject* parent)
    : QObject(parent)
    , m_locator(std::move(locator))
    , m_installed(m_locator.installedEngines()) {
    for (const QString& directory : m_locator.directories()) {
        if (QFileInfo(directory).isDir()) {
            m_installFolders.addPath(directory);
        }
    }
    connect(&m_installFolders, &QFileSystemWatcher::directoryChanged, this, &EngineStatus::refresh);
}

void EngineStatus::refresh() {
    const InstalledEngines installed = m_locator.installedEngines();
    if (installed != m_installed) {
        m_installed = installed;
        emit changed();
    }
}

} // namespace velmarto
