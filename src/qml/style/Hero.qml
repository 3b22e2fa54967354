import QtQuick
import Velmarto

// The large badge, a title and a line under it, centred: the head of the welcome and account
// screens.
Column {
    id: hero

    property string symbol: "music.note"
    required property string title
    required property string subtitle

    spacing: 14

    BadgeTile {
        anchors.horizontalCenter: parent.horizontalCenter
        large: true
        symbol: hero.symbol
    }
    Text {
        objectName: "heroTitle"
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: hero.title
        font.pixelSize: Style.titleSize
        font.bold: true
        color: Style.primaryText
    }
    Text {
        objectName: "heroSubtitle"
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: hero.subtitle
        font.pixelSize: Style.bodySize
        color: Style.secondaryText
    }
}
