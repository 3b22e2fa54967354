#pragma once

#include "core/accounts/Phase.h"

#include <QtQml/qqml.h>

namespace velmarto {

// Makes the session's phase readable from QML (kind, email).
class PhaseForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Phase)
    QML_VALUE_TYPE(phase)
};

} // namespace velmarto
