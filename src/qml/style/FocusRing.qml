import QtQuick
import Velmarto

// Shows which control the keyboard is on. Only keyboard focus draws it, never a mouse click.
Rectangle {
    required property bool shown
    property real cornerRadius: 10

    anchors.fill: parent
    anchors.margins: -3
    radius: cornerRadius + 3
    color: "transparent"
    border.width: 2
    border.color: Style.accentTop
    visible: shown
}
