import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The filled accent button for a screen's main action. A disabled one keeps its white label and
// loses the shadow, so the gradient alone tells that it is inactive.
KeyboardButton {
    id: control

    property string symbol
    // Replaces the symbol with a spinner while the action runs.
    property bool busy: false

    padding: 0
    topPadding: 11
    bottomPadding: 11
    font.pixelSize: Style.largeSize
    font.weight: Font.DemiBold
    scale: control.down ? 0.98 : 1.0
    // A click leaves the keyboard where it was; only Tab brings a button the focus and its ring.
    focusPolicy: Qt.TabFocus
    ToolTip.visible: hovered && ToolTip.text !== ""
    ToolTip.delay: 700

    Behavior on scale  {
        NumberAnimation {
            duration: 120
            easing.type: Easing.OutQuad
        }
    }

    contentItem: ButtonLabel {
        text: control.text
        font: control.font
        symbol: control.symbol
        symbolShown: !control.busy
        color: "white"

        BusyIndicator {
            objectName: "primaryButtonSpinner"
            visible: control.busy
            running: control.busy
            width: 16
            height: 16
            padding: 0
            palette.dark: "white"
        }
    }

    background: Item {
        implicitHeight: 40

        OffsetShadow {
            offset: 4
            blurRadius: 10
            radius: 11
            color: Style.accentBottom
            opacity: control.enabled ? (control.hovered ? 0.5 : 0.35) : 0.0
        }
        GradientRectangle {
            objectName: "primaryButtonFill"
            anchors.fill: parent
            radius: 11
            gradient: Style.accentGradient
            opacity: control.enabled ? 1.0 : 0.4
        }
        FocusRing {
            shown: control.visualFocus
            cornerRadius: 11
        }
    }
}
