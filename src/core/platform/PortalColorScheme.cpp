#include "core/platform/PortalColorScheme.h"

#include <QDBusMessage>

namespace velmarto {

namespace {

// The portal's values: 0 no preference, 1 prefer dark, 2 prefer light. Read wraps the value in
// one more variant than SettingChanged does, so every layer of wrapping is peeled off.
bool meansDark(QVariant value) {
    while (value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    bool isNumber = false;
    const uint scheme = value.toUInt(&isNumber);
    return isNumber && scheme == 1;
}

} // namespace

PortalColorScheme::PortalColorScheme(const QDBusConnection& bus, int readTimeoutMs, QObject* parent)
    : QObject(parent) {
    if (!bus.isConnected()) {
        return;
    }
    // QtDBus resolves the slot's parameter types by name when connecting; before anything has
    // been marshalled QDBusVariant is not yet known by name, and the signal would never arrive.
    qRegisterMetaType<QDBusVariant>();
    QDBusConnection(bus).connect(service, path, interface, QStringLiteral("SettingChanged"), this,
                                 SLOT(handleSettingChanged(QString, QString, QDBusVariant)));

    QDBusMessage read =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
    read << appearanceNamespace << colorSchemeKey;
    const QDBusMessage reply = bus.call(read, QDBus::Block, readTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        m_prefersDark = meansDark(reply.arguments().constFirst());
    }
}

void PortalColorScheme::handleSettingChanged(const QString& settingNamespace, const QString& key,
                                             const QDBusVariant& value) {
    if (settingNamespace == appearanceNamespace && key == colorSchemeKey) {
        setPrefersDark(meansDark(value.variant()));
    }
}

void PortalColorScheme::setPrefersDark(bool prefersDark) {
    if (m_prefersDark != prefersDark) {
        m_prefersDark = prefersDark;
        emit prefersDarkChanged();
    }
}

} // namespace velmarto
