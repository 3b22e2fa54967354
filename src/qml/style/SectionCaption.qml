import QtQuick
import Velmarto

// The small capitals above a group of controls ("QUALITY", "EXPORT" ...).
Text {
    font.pixelSize: Style.captionSize
    font.bold: true
    font.letterSpacing: 0.8
    color: Style.secondaryText
}
