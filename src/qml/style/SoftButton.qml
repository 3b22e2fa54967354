import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The neutral button for secondary actions: a wash of the text colour, so it reads as light grey
// on a light window and as a translucent veil on a dark one.
KeyboardButton {
    id: control

    property string symbol

    topPadding: 9
    bottomPadding: 9
    leftPadding: 14
    rightPadding: 14
    font.pixelSize: Style.bodySize
    font.weight: Font.Medium
    // A click leaves the keyboard where it was; only Tab brings a button the focus and its ring.
    focusPolicy: Qt.TabFocus
    ToolTip.visible: hovered && ToolTip.text !== ""
    ToolTip.delay: 700

    contentItem: ButtonLabel {
        text: control.text
        font: control.font
        symbol: control.symbol
        color: Style.primaryText
        symbolSize: 15
        spacing: 6
    }

    background: Rectangle {
        objectName: "softButtonFill"
        radius: 10
        color: Style.withOpacity(Style.primaryText, control.down ? 0.14 : control.hovered ? 0.10 : 0.07)
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.08)

        FocusRing {
            shown: control.visualFocus
        }
    }
}
