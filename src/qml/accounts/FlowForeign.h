#pragma once

#include "core/accounts/Flow.h"

#include <QtQml/qqml.h>

namespace velmarto {

// Makes a pending flow readable from QML (title, email, needsNewPassword).
class FlowForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Flow)
    QML_VALUE_TYPE(flow)
};

} // namespace velmarto
