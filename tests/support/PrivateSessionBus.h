#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace velmarto::test {

// A D-Bus session bus of the test's own, so fakes of desktop services can own their real names
// without touching the user's bus. Stopped when the object goes.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when dbus-daemon is not installed or did not start.
    QString address() const { return m_address; }
    // Opens a connection to this bus under a name QDBusConnection(name) finds again; it is
    // closed when the bus goes.
    bool connect(const QString& connectionName);

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

} // namespace velmarto::test
