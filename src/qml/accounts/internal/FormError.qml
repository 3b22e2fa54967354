import QtQuick
import Velmarto

// The message under an account form's fields; it takes no room while there is none. Plain text:
// a message may quote what the user typed.
Text {
    visible: text !== ""
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    font.pixelSize: Style.captionSize
    color: Style.error
}
