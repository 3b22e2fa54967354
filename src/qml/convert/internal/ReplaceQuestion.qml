import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T

// The question before a save writes over a file already there: a heading, what the caller adds
// below it, and Cancel and Replace. Its texts and buttons are named after namePrefix, so that
// each question can be told apart.
Dialog {
    id: question

    required property string namePrefix
    property string heading
    default property alias details: body.data

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(420, parent ? parent.width - 40 : 420)
    modal: true

    Column {
        id: body

        width: parent.width
        spacing: 8

        Label {
            objectName: question.namePrefix + "Question"
            width: parent.width
            wrapMode: Text.Wrap
            font.bold: true
            // It names files and folders, whose names may look like markup.
            textFormat: Text.PlainText
            text: question.heading
        }
    }
    footer: DialogButtonBox {
        Button {
            objectName: question.namePrefix + "CancelButton"
            text: "Cancel"
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole // qmllint disable
        }
        Button {
            objectName: question.namePrefix + "Button"
            text: "Replace"
            DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole // qmllint disable
        }
    }
}
