#pragma once

#include "core/settings/Preferences.h"

#include <QtQml/qqmlregistration.h>

namespace velmarto {

// Lets views name the shared Preferences as a property type. The application builds the one
// instance and hands it to every window.
class PreferencesForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Preferences)
    QML_NAMED_ELEMENT(Preferences)
    QML_UNCREATABLE("The application shares one Preferences with every window")
};

} // namespace velmarto
