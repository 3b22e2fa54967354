import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// One half of the quality selector. A radio button to screen readers; the model, not a click,
// decides which one is checked. Being a RadioButton rather than a KeyboardButton, it takes
// Return and Enter itself.
RadioButton {
    id: control

    required property string title
    required property string subtitle
    required property bool selected

    topPadding: 9
    bottomPadding: 9
    leftPadding: 4
    rightPadding: 4
    // A click leaves the keyboard where it was; only Tab brings a button the focus and its ring.
    focusPolicy: Qt.TabFocus
    Keys.onReturnPressed: control.clicked()
    Keys.onEnterPressed: control.clicked()
    checkable: false
    autoExclusive: false
    checked: control.selected
    indicator: null
    Accessible.name: control.title + ", " + control.subtitle

    contentItem: Column {
        spacing: 2

        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: control.title
            font.pixelSize: Style.bodySize
            font.weight: Font.DemiBold
            color: control.selected ? "white" : Style.primaryText
        }
        Text {
            objectName: "presetSubtitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: control.subtitle
            font.pixelSize: Style.captionSize
            color: control.selected ? Style.withOpacity("white", 0.85) : Style.secondaryText
        }
    }

    background: Item {
        GradientRectangle {
            anchors.fill: parent
            visible: control.selected
            radius: 10
            gradient: Style.accentGradient
        }
        Rectangle {
            anchors.fill: parent
            visible: !control.selected
            radius: 10
            color: Style.withOpacity(Style.primaryText, control.hovered ? 0.10 : 0.06)
        }
        FocusRing {
            shown: control.visualFocus
        }
    }
}
