import QtQuick
import QtQuick.Layouts
import Velmarto

// What the score pane shows before there is a score.
ColumnLayout {
    id: state

    required property bool isConverting
    required property bool hasError

    objectName: "emptyState"
    spacing: 14

    Item {
        Layout.alignment: Qt.AlignHCenter
        implicitWidth: 96
        implicitHeight: 96

        GradientRectangle {
            anchors.fill: parent
            radius: 18
            gradient: Style.accentGradient
            opacity: 0.12
        }
        SymbolIcon {
            anchors.centerIn: parent
            width: 40
            height: 40
            symbol: "music.note.list"
            gradient: Style.accentGradient
        }
    }
    Text {
        Layout.alignment: Qt.AlignHCenter
        text: "Your engraved score appears here"
        font.pixelSize: Style.largeSize
        font.weight: Font.Medium
        color: Style.primaryText
    }
    Text {
        Layout.alignment: Qt.AlignHCenter
        text: state.hasError ? "This file could not be engraved; the sidebar says why." : state.isConverting ? "The first page shows here as soon as it is engraved." : "Drop a MIDI file and press Convert."
        font.pixelSize: Style.smallSize
        color: Style.secondaryText
    }
}
