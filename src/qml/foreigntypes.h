#pragma once

// The core types the views name or read, made known to QML without giving core a QML
// dependency. Each window builds its own Session and installers; the application shares one
// Preferences and one EngineStatus.

#include "core/accounts/Flow.h"
#include "core/accounts/Phase.h"
#include "core/accounts/Session.h"
#include "core/conversion/EngineStatus.h"
#include "core/settings/Preferences.h"
#include "core/setup/EngineInstaller.h"

#include <QtQml/qqmlregistration.h>

namespace velmarto {

// A pending flow's title, email and needsNewPassword.
class FlowForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Flow)
    QML_VALUE_TYPE(flow)
};

// The session's phase: kind and email.
class PhaseForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Phase)
    QML_VALUE_TYPE(phase)
};

class SessionForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Session)
    QML_NAMED_ELEMENT(Session)
    QML_UNCREATABLE("Each window builds its own Session")
};

class PreferencesForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Preferences)
    QML_NAMED_ELEMENT(Preferences)
    QML_UNCREATABLE("The application shares one Preferences with every window")
};

class EngineStatusForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::EngineStatus)
    QML_NAMED_ELEMENT(EngineStatus)
    QML_UNCREATABLE("The application shares one EngineStatus with every window")
};

class EngineInstallerForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::EngineInstaller)
    QML_NAMED_ELEMENT(EngineInstaller)
    QML_UNCREATABLE("The creator of a setup screen gives it its installer.")
};

} // namespace velmarto
