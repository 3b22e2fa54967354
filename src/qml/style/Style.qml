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
    readonly property color secondaryText: withOpacity(primaryText, 0.62)
    readonly property color windowBackground: palette.window
    readonly property bool dark: windowBackground.hslLightness < 0.5
    // Used as text, so each keeps 4.5:1 on the window and on the cards and tints laid over it:
    // deep shades on a light window, bright ones on a dark window.
    readonly property color found: dark ? "#34c759" : "#17692c"
    readonly property color missing: dark ? "#ff9f0a" : "#804000"
    readonly property color error: dark ? "#ff6b60" : "#a8231b"
    // Behind the preview's white pages: a neutral grey just off the window, darker in dark mode as a
    // PDF reader's is, so the pages stand out and the pane does not glare.
    readonly property color pageBackdrop: dark ? "#19191b" : "#ededed"

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
