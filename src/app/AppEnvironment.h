#pragma once

#include "core/accounts/SessionDependencies.h"

#include <QDBusConnection>

#include <functional>

namespace velmarto {

// What the application reaches outside itself, apart from the engines and the preference store.
// Tests replace parts of it.
struct AppEnvironment {
    // Where the desktop's dark-style preference is asked for (Linux).
    QDBusConnection desktopBus = QDBusConnection::sessionBus();
    // What each window's session is built on.
    std::function<SessionDependencies()> sessionDependencies = &SessionDependencies::production;
};

} // namespace velmarto
