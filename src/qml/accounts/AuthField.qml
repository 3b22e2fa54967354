import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// One captioned entry of the account screens. The screen keeps the text: the field shows it and
// reports every edit, so a field that is built again shows what was typed before.
FocusScope {
    id: field

    required property string title
    property string text
    property bool secure: false

    signal edited(string text)
    // Return in the entry.
    signal submitted

    implicitWidth: column.implicitWidth
    implicitHeight: column.implicitHeight

    Column {
        id: column

        width: parent.width
        spacing: 5

        Text {
            text: field.title.toUpperCase()
            font.pixelSize: Style.captionSize
            font.bold: true
            font.letterSpacing: 0.6
            color: Style.secondaryText
        }
        TextField {
            id: input
            objectName: "input"

            width: parent.width
            focus: true
            text: field.text
            // A masked entry also keeps its text off the clipboard.
            echoMode: field.secure ? TextInput.Password : TextInput.Normal
            inputMethodHints: Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
            font.pixelSize: Style.bodySize
            topPadding: 9
            bottomPadding: 9
            leftPadding: 11
            rightPadding: 11
            color: Style.primaryText
            selectionColor: Style.withOpacity(Style.accentTop, 0.35)
            selectedTextColor: Style.primaryText
            onTextEdited: field.edited(text)
            onAccepted: field.submitted()

            background: Rectangle {
                radius: 9
                color: Style.withOpacity(Style.primaryText, 0.05)
                border.width: 1
                border.color: Style.withOpacity(Style.primaryText, 0.1)

                // A text entry shows the ring whenever it takes the keys, clicked or tabbed to.
                FocusRing {
                    shown: input.activeFocus
                    cornerRadius: 9
                }
            }
        }
    }
}
