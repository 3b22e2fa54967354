import QtQuick
import Velmarto

// Whether one engine is installed: a green or orange dot and its name.
Rectangle {
    id: pill

    required property string name
    required property bool found

    implicitWidth: content.implicitWidth + 16
    implicitHeight: content.implicitHeight + 8
    radius: height / 2
    color: Style.withOpacity(Style.primaryText, 0.05)

    Row {
        id: content
        anchors.centerIn: parent
        spacing: 4

        Rectangle {
            objectName: "enginePillDot"
            anchors.verticalCenter: parent.verticalCenter
            width: 6
            height: 6
            radius: 3
            color: pill.found ? Style.found : Style.missing
        }
        Text {
            text: pill.name
            font.pixelSize: Style.captionSize
            font.weight: Font.Medium
            color: Style.secondaryText
        }
    }
}
