#include "core/platform/DesktopNotifier.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace velmarto {

using namespace Qt::StringLiterals;

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QString desktopEntry)
    : m_bus(std::move(bus))
    , m_desktopEntry(std::move(desktopEntry)) {}

void DesktopNotifier::notify(const QString& summary, const QString& body) const {
    if (!m_bus.isConnected()) {
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, u"Notify"_s);
    // The desktop entry lets the service show the application's name and icon, and bring its
    // window forward when the notification is clicked.
    message << u"Velmarto"_s << 0U << m_desktopEntry << summary << body << QStringList()
            << QVariantMap{{u"desktop-entry"_s, m_desktopEntry}} << -1;
    // Sent without waiting for the answer: a service that is missing or slow holds nothing up.
    m_bus.send(message);
}

} // namespace velmarto
