#include "qml/settings/SettingsViewModel.h"

namespace velmarto {

SettingsViewModel::SettingsViewModel(Converter converter, QObject* parent)
    : QObject(parent)
    , m_converter(std::move(converter))
    , m_toolStatus(m_converter.toolStatus()) {}

void SettingsViewModel::refreshToolStatus() {
    const ToolStatus previous = m_toolStatus;
    m_toolStatus = m_converter.toolStatus();
    if (m_toolStatus.museScore != previous.museScore) {
        emit museScoreFoundChanged();
    }
    if (m_toolStatus.musicxml2ly != previous.musicxml2ly) {
        emit musicxml2lyFoundChanged();
    }
    if (m_toolStatus.lilypond != previous.lilypond) {
        emit lilypondFoundChanged();
    }
}

} // namespace velmarto
