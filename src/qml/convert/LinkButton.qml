import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// A button that reads as a link in the accent colour.
KeyboardButton {
    id: control

    flat: true
    padding: 2
    font.pixelSize: Style.captionSize
    font.underline: control.hovered
    // A click leaves the keyboard where it was; only Tab brings a button the focus and its ring.
    focusPolicy: Qt.TabFocus
    ToolTip.visible: hovered && ToolTip.text !== ""
    ToolTip.delay: 700

    contentItem: Text {
        text: control.text
        font: control.font
        // The palette's link colour keeps 4.5:1 on the window and the tinted boxes, light or dark.
        color: control.palette.link
        opacity: control.down ? 0.6 : 1.0
        horizontalAlignment: Text.AlignHCenter
    }
    background: Item {
        FocusRing {
            shown: control.visualFocus
            cornerRadius: 4
        }
    }

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
}
