#pragma once

#include "core/accounts/Session.h"

#include <QtQml/qqmlregistration.h>

namespace velmarto {

// Lets views name a window's Session as a property type; each window builds its own.
class SessionForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Session)
    QML_NAMED_ELEMENT(Session)
    QML_UNCREATABLE("Each window builds its own Session")
};

} // namespace velmarto
