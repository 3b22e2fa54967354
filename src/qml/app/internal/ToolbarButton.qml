import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// A small flat button with a symbol only, beside the tabs; its tooltip names it and its shortcut.
KeyboardButton {
    id: control

    required property string symbol

    implicitWidth: 30
    implicitHeight: 30
    padding: 0
    flat: true
    // A click leaves the keyboard where it was; only Tab brings a button the focus and its ring.
    focusPolicy: Qt.TabFocus
    Accessible.name: ToolTip.text
    ToolTip.visible: hovered && ToolTip.text !== ""
    ToolTip.delay: 500

    contentItem: Item {
        SymbolIcon {
            anchors.centerIn: parent
            width: 17
            height: 17
            symbol: control.symbol
            color: Style.primaryText
            opacity: control.down ? 0.6 : 0.85
        }
    }
    background: Rectangle {
        radius: 6
        color: control.hovered ? Style.withOpacity(Style.primaryText, 0.08) : "transparent"

        FocusRing {
            shown: control.visualFocus
            cornerRadius: 6
        }
    }
}
