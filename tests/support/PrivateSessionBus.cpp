#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QStandardPaths>

namespace velmarto::test {

using namespace Qt::StringLiterals;

PrivateSessionBus::PrivateSessionBus() {
    const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (daemon.isEmpty()) {
        return;
    }
    m_daemon.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
    if (m_daemon.waitForReadyRead(10000)) {
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
}

bool PrivateSessionBus::connect(const QString& connectionName) {
    m_connections.append(connectionName);
    return !m_address.isEmpty() &&
           QDBusConnection::connectToBus(m_address, connectionName).isConnected();
}

PrivateSessionBus::~PrivateSessionBus() {
    for (const QString& connection : m_connections) {
        QDBusConnection::disconnectFromBus(connection);
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
}

} // namespace velmarto::test
