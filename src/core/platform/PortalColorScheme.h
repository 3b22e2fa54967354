#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>
#include <QString>

namespace velmarto {

// The desktop's dark-style preference, as the XDG desktop portal publishes it under
// "org.freedesktop.appearance" / "color-scheme", kept current through the portal's
// SettingChanged signal. Without a portal, or with one that does not know the key, the desktop
// is taken to prefer light.
class PortalColorScheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool prefersDark READ prefersDark NOTIFY prefersDarkChanged)

public:
    static inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    static inline const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
    static inline const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
    static inline const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
    static inline const QString colorSchemeKey = QStringLiteral("color-scheme");

    // Asks the portal once, waiting at most readTimeoutMs: the answer decides the colours of the
    // first frame, and a portal that hangs must not keep the window from opening.
    explicit PortalColorScheme(const QDBusConnection& bus, int readTimeoutMs = 1000,
                               QObject* parent = nullptr);

    bool prefersDark() const { return m_prefersDark; }

signals:
    void prefersDarkChanged();

private slots:
    void handleSettingChanged(const QString& settingNamespace, const QString& key,
                              const QDBusVariant& value);

private:
    void setPrefersDark(bool prefersDark);

    bool m_prefersDark = false;
};

} // namespace velmarto
