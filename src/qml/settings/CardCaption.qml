import QtQuick
import QtQuick.Layouts
import Velmarto

// The small secondary text under a card's control.
Text {
    Layout.fillWidth: true
    font.pixelSize: Style.captionSize
    color: Style.secondaryText
    wrapMode: Text.WordWrap
}
