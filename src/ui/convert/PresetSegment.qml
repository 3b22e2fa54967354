import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// One half of the quality selector.
Button {
    id: control

    required property string title
    required property string subtitle
    required property bool selected

    topPadding: 9
    bottomPadding: 9
    leftPadding: 4
    rightPadding: 4

    contentItem: Column {
        spacing: 2

        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: control.title
            font.pixelSize: 13
            font.weight: Font.DemiBold
            color: control.selected ? "white" : Style.primaryText
        }
        Text {
            objectName: "presetSubtitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: control.subtitle
            font.pixelSize: 9
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
            color: Style.withOpacity(Style.primaryText, 0.06)
        }
        FocusRing {
            shown: control.visualFocus
        }
    }
}
