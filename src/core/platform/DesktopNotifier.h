#pragma once

#include <QDBusConnection>
#include <QString>

namespace velmarto {

// Tells the user something while they are in another window, through the desktop's notification
// service (org.freedesktop.Notifications). A desktop without one, or a bus that is not there, gets
// nothing and nobody waits: the message only repeats what the window shows.
class DesktopNotifier {
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString path = QStringLiteral("/org/freedesktop/Notifications");
    static inline const QString interface = QStringLiteral("org.freedesktop.Notifications");

    explicit DesktopNotifier(QDBusConnection bus, QString desktopEntry);

    void notify(const QString& summary, const QString& body) const;

private:
    QDBusConnection m_bus;
    QString m_desktopEntry;
};

} // namespace velmarto
