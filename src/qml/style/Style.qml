pragma Singleton
import QtQuick

QtObject {
    readonly property color accentTop: Qt.rgba(0.42, 0.36, 1.0, 1.0)
    readonly property color accentBottom: Qt.rgba(0.74, 0.30, 1.0, 1.0)
    // Top-leading to bottom-trailing, stops evenly spaced; GradientRectangle and SymbolIcon draw it.
    readonly property list<color> accentGradient: [accentTop, accentBottom]

    readonly property SystemPalette palette: SystemPalette {
        colorGroup: SystemPalette.Active
    }
    readonly property color primaryText: palette.windowText
    readonly property color secondaryText: withOpacity(primaryText, 0.55)
    readonly property color windowBackground: palette.window
    readonly property color found: Qt.rgba(0.20, 0.78, 0.35, 1.0)
    readonly property color missing: Qt.rgba(1.0, 0.58, 0.0, 1.0)
    readonly property color error: Qt.rgba(1.0, 0.23, 0.19, 1.0)

    // The type scale: every text takes one of these pixel sizes, none smaller than the caption's.
    readonly property int captionSize: 11
    readonly property int smallSize: 12
    readonly property int bodySize: 13
    readonly property int largeSize: 14
    readonly property int headingSize: 17
    readonly property int titleSize: 22

    // Spacing that recurs across screens.
    readonly property int sidebarPadding: 22
    readonly property int sectionSpacing: 18

    // Takes a colour value or a colour's name; a name has no components to read, so building
    // the colour from them would give black.
    function withOpacity(color, opacity) {
        return Qt.alpha(color, opacity);
    }
}
