#pragma once

#include <QObject>

namespace velmarto {

class Preferences;
class PortalColorScheme;

// Keeps the application's palette in the scheme the "appearance" preference and the desktop ask
// for. Every window, standard control and dialog takes its colours from that palette, and so does
// Style.qml, so one change re-colours every open window at once.
class ColorSchemeApplier : public QObject {
    Q_OBJECT

public:
    // desktop is the desktop's dark-style preference on Linux. Without one (macOS), "System"
    // hands the palette back to the platform, whose palette already follows the system appearance.
    ColorSchemeApplier(const Preferences& preferences, const PortalColorScheme* desktop,
                       QObject* parent = nullptr);

private:
    void apply();

    const Preferences& m_preferences;
    const PortalColorScheme* m_desktop;
};

} // namespace velmarto
