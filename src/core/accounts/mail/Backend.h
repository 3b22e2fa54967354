#pragma once

#include <QString>
#include <QUrl>

namespace velmarto {

// Where the verification-code relay is and how to authorise with it. A release build sets both
// through the VELMARTO_RELAY_ENDPOINT and VELMARTO_RELAY_TOKEN CMake cache variables; an empty
// endpoint leaves the relay unconfigured, and codes then go out through the platform's mail.
struct Backend {
    QUrl endpoint;
    QString token;

    bool isConfigured() const { return !endpoint.isEmpty(); }

    static Backend fromBuild();
};

} // namespace velmarto
