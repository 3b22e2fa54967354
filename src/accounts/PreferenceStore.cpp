#include "accounts/PreferenceStore.h"

namespace velmarto {

PreferenceStore::PreferenceStore(QString iniFile)
    : m_iniFile(std::move(iniFile)) {}

std::unique_ptr<QSettings> PreferenceStore::open() const {
    if (m_iniFile.isEmpty()) {
        return std::make_unique<QSettings>();
    }
    return std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
}

} // namespace velmarto
