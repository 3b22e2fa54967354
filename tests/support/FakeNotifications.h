#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace velmarto::test {

// The desktop's notification service on a test's own bus: it takes the name
// org.freedesktop.Notifications and keeps every notification it is sent.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification {
        QString appName;
        QString summary;
        QString body;
    };

    // Serves on the connection; false when the name or the object could not be taken.
    bool serve(QDBusConnection bus);

    QList<Notification> received;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);
};

} // namespace velmarto::test
