import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// How the code is travelling, exactly one of: being sent, shown here because the mail could not
// be sent, delivered (with the session's note), or nothing at all.
Item {
    id: status

    required property Session session

    readonly property bool sending: session.isSendingCode
    readonly property bool showsCode: !sending && session.fallbackCode !== ""
    readonly property bool showsNote: !sending && !showsCode && session.deliveryNote !== ""

    visible: sending || showsCode || showsNote
    implicitHeight: sending ? sendingRow.implicitHeight : showsCode ? codeBox.implicitHeight : noteRow.implicitHeight

    RowLayout {
        id: sendingRow
        objectName: "sendingRow"

        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, parent.width)
        visible: status.sending
        spacing: 6

        BusyIndicator {
            running: status.sending
            padding: 0
            implicitWidth: 14
            implicitHeight: 14
            palette.dark: Style.secondaryText
        }
        Text {
            Layout.fillWidth: true
            text: "Sending the code to your email…"
            elide: Text.ElideRight
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
        }
    }

    Rectangle {
        id: codeBox
        objectName: "codeBox"

        width: parent.width
        implicitHeight: codeColumn.implicitHeight + 2 * codeColumn.anchors.margins
        visible: status.showsCode
        radius: 8
        color: Style.withOpacity(Style.missing, 0.1)

        ColumnLayout {
            id: codeColumn

            anchors.fill: parent
            anchors.margins: 8
            spacing: 4

            Text {
                objectName: "codeBoxNote"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: status.session.deliveryNote !== "" ? status.session.deliveryNote : "Mail couldn't send the email automatically."
                textFormat: Text.PlainText
                font.pixelSize: Style.captionSize
                color: Style.missing
            }
            // Selectable, so the code can be copied into the field above or elsewhere.
            TextEdit {
                objectName: "fallbackCodeText"
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: implicitWidth
                text: "Your code: " + status.session.fallbackCode
                readOnly: true
                selectByMouse: true
                selectByKeyboard: true
                font.pixelSize: Style.smallSize
                font.bold: true
                font.family: "monospace"
                color: Style.primaryText
                selectionColor: Style.withOpacity(Style.accentTop, 0.35)
                selectedTextColor: Style.primaryText
            }
        }
    }

    RowLayout {
        id: noteRow
        objectName: "noteRow"

        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(implicitWidth, parent.width)
        visible: status.showsNote
        spacing: 6

        SymbolIcon {
            Layout.alignment: Qt.AlignTop
            implicitWidth: 13
            implicitHeight: 13
            symbol: "checkmark.circle.fill"
            color: Style.found
        }
        Text {
            objectName: "deliveryNote"
            Layout.fillWidth: true
            text: status.session.deliveryNote
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
        }
    }
}
