#include "core/conversion/EngineStatus.h"

#include <utility>

namespace velmarto {

EngineStatus::EngineStatus(EngineLocator locator, QObject* parent)
    : QObject(parent)
    , m_locator(std::move(locator))
    , m_installed(m_locator.installedEngines()) {}

void EngineStatus::refresh() {
    const InstalledEngines installed = m_locator.installedEngines();
    if (installed != m_installed) {
        m_installed = installed;
        emit changed();
    }
}

} // namespace velmarto
