#include "qml/style/ColorSchemeApplier.h"

#include "core/platform/PortalColorScheme.h"
#include "core/settings/Preferences.h"
#include "qml/style/ColorScheme.h"

#include <QGuiApplication>

namespace velmarto {

ColorSchemeApplier::ColorSchemeApplier(const Preferences& preferences,
                                       const PortalColorScheme* desktop, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_desktop(desktop) {
    connect(&preferences, &Preferences::appearanceChanged, this, &ColorSchemeApplier::apply);
    if (desktop) {
        connect(desktop, &PortalColorScheme::prefersDarkChanged, this, &ColorSchemeApplier::apply);
    }
    apply();
}

void ColorSchemeApplier::apply() {
    std::optional<ColorScheme> scheme = forcedColorScheme(m_preferences.appearance());
    if (!scheme && m_desktop) {
        scheme = m_desktop->prefersDark() ? ColorScheme::dark : ColorScheme::light;
    }
    QGuiApplication::setPalette(scheme ? schemePalette(*scheme) : accentTint());
}

} // namespace velmarto
