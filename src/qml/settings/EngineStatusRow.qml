import QtQuick
import QtQuick.Layouts
import Velmarto

// An engine's name and whether it is installed, green when found and orange when not.
RowLayout {
    id: row

    required property string name
    required property bool found
    readonly property string stateText: found ? "Installed" : "Missing"
    readonly property color stateColor: found ? Style.found : Style.missing

    Layout.fillWidth: true

    Text {
        text: row.name
        font.pixelSize: Style.captionSize
        color: Style.secondaryText
    }
    Item {
        Layout.fillWidth: true
    }
    Row {
        spacing: 5

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 6
            height: 6
            radius: 3
            color: row.stateColor
        }
        Text {
            objectName: "engineState"
            text: row.stateText
            font.pixelSize: Style.captionSize
            font.weight: Font.Medium
            color: row.stateColor
        }
    }
}
