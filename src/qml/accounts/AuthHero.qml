import QtQuick
import Velmarto

// The badge, title and subtitle at the top of each account screen.
Column {
    id: hero

    property string icon: "music.note"
    required property string title
    required property string subtitle

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
            color: Style.accentBottom
            opacity: 0.45
        }
        GradientRectangle {
            anchors.fill: parent
            radius: 22
            gradient: Style.accentGradient
        }
        SymbolIcon {
            objectName: "heroIcon"
            anchors.centerIn: parent
            width: 38
            height: 38
            symbol: hero.icon
            color: "white"
        }
    }
    Text {
        objectName: "heroTitle"
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: hero.title
        font.pixelSize: 22
        font.bold: true
        color: Style.primaryText
    }
    Text {
        objectName: "heroSubtitle"
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: hero.subtitle
        font.pixelSize: 13
        color: Style.secondaryText
    }
}
