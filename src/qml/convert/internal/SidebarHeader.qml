import QtQuick
import QtQuick.Layouts
import Velmarto

// The app's badge, name and promise at the top of the sidebar.
RowLayout {
    spacing: 12

    Item {
        implicitWidth: 44
        implicitHeight: 44

        SoftShadow {
            anchors.fill: parent
            anchors.margins: -blurRadius
            anchors.topMargin: -blurRadius + 3
            anchors.bottomMargin: -blurRadius - 3
            blurRadius: 8
            radius: 12
            color: Style.accentBottom
            opacity: 0.4
        }
        GradientRectangle {
            anchors.fill: parent
            radius: 12
            gradient: Style.accentGradient
        }
        SymbolIcon {
            anchors.centerIn: parent
            width: 22
            height: 22
            symbol: "music.note"
            color: "white"
        }
    }
    ColumnLayout {
        spacing: 2

        Text {
            text: "Velmarto"
            font.pixelSize: 17
            font.bold: true
            color: Style.primaryText
        }
        Text {
            text: "MIDI → publication-quality sheet music"
            font.pixelSize: 11
            color: Style.secondaryText
        }
    }
}
