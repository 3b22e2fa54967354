#pragma once

#include "core/accounts/SessionDependencies.h"
#include "core/platform/PlatformProfile.h"

#include <QDBusConnection>

#include <functional>

namespace velmarto {

// What the application reaches outside itself, apart from the preference store. Tests replace
// parts of it.
struct AppEnvironment {
    // Where the desktop's dark-style preference is asked for (Linux).
    QDBusConnection desktopBus = QDBusConnection::sessionBus();
    // What each window's session is built on.
    std::function<SessionDependencies()> sessionDependencies = &SessionDependencies::production;
    // Where the engines are installed, and the texts that name the desktop.
    PlatformProfile profile = PlatformProfile::current();
};

} // namespace velmarto
