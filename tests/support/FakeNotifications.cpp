#include "FakeNotifications.h"

namespace velmarto::test {

using namespace Qt::StringLiterals;

bool FakeNotifications::serve(QDBusConnection bus) {
    return bus.registerObject(u"/org/freedesktop/Notifications"_s, this,
                              QDBusConnection::ExportAllSlots) &&
           bus.registerService(u"org.freedesktop.Notifications"_s);
}

uint FakeNotifications::Notify(const QString& appName, uint /*replacesId*/,
                               const QString& /*appIcon*/, const QString& summary,
                               const QString& body, const QStringList& /*actions*/,
                               const QVariantMap& /*hints*/, int /*expireTimeout*/) {
    received.append({.appName = appName, .summary = summary, .body = body});
    return static_cast<uint>(received.size());
}

} // namespace velmarto::test
