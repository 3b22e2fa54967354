#include "qml/settings/SettingsViewModel.h"

#include <utility>

namespace velmarto {

SettingsViewModel::SettingsViewModel(QString appearanceCaption, QString revealAfterConvertLabel,
                                     QObject* parent)
    : QObject(parent)
    , m_appearanceCaption(std::move(appearanceCaption))
    , m_revealAfterConvertLabel(std::move(revealAfterConvertLabel)) {}

} // namespace velmarto
