import QtQuick
import Velmarto

// The app's icon tile, the welcome and what the setup is for.
Column {
    spacing: 14

    Item {
        anchors.horizontalCenter: parent.horizontalCenter
        width: 84
        height: 84

        SoftShadow {
            anchors.fill: parent
            anchors.margins: -blurRadius
            anchors.topMargin: -blurRadius + 6
            anchors.bottomMargin: -blurRadius - 6
            blurRadius: 16
            radius: 22
            color: Style.accentTop
            opacity: 0.45
        }
        GradientRectangle {
            anchors.fill: parent
            radius: 22
            gradient: Style.accentGradient
        }
        SymbolIcon {
            anchors.centerIn: parent
            width: 40
            height: 40
            symbol: "music.note"
            color: "white"
        }
    }
    Text {
        objectName: "setupTitle"
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Welcome to Velmarto"
        font.pixelSize: 22
        font.bold: true
        color: Style.primaryText
    }
    Text {
        objectName: "setupIntroduction"
        width: parent.width
        text: "Velmarto needs two free engraving engines to turn your MIDI files into beautiful sheet music. This is a one-time setup."
        font.pixelSize: 13
        color: Style.secondaryText
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }
}
