import QtQuick
import QtQuick.Layouts
import Velmarto

// Offered when the installer could not use the package manager: what stands in the way, the
// command to type instead when there is one, and a terminal that takes over when it can.
Rectangle {
    id: card

    required property string title
    required property string text
    required property string buttonText
    required property string command
    required property string terminalProblem

    signal bootstrapRequested

    implicitHeight: content.implicitHeight + 32
    radius: 14
    color: Style.withOpacity(Style.missing, 0.08)

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            spacing: 6

            SymbolIcon {
                Layout.preferredWidth: 15
                Layout.preferredHeight: 15
                symbol: "exclamationmark.triangle.fill"
                color: Style.missing
            }
            Text {
                objectName: "bootstrapTitle"
                Layout.fillWidth: true
                text: card.title
                wrapMode: Text.WordWrap
                font.pixelSize: Style.bodySize
                font.weight: Font.DemiBold
                color: Style.missing
            }
        }
        Text {
            objectName: "bootstrapText"
            Layout.fillWidth: true
            text: card.text
            font.pixelSize: Style.smallSize
            color: Style.secondaryText
            wrapMode: Text.WordWrap
        }
        RowLayout {
            Layout.fillWidth: true
            visible: card.command !== ""
            spacing: 8

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: commandField.implicitHeight
                radius: 8
                color: Style.withOpacity(Style.primaryText, 0.06)
                border.width: commandField.activeFocus ? 2 : 0
                border.color: Style.accentTop

                TextEdit {
                    id: commandField
                    objectName: "manualCommand"
                    width: parent.width
                    padding: 8
                    text: card.command
                    textFormat: TextEdit.PlainText
                    wrapMode: TextEdit.Wrap
                    readOnly: true
                    selectByMouse: true
                    selectByKeyboard: true
                    activeFocusOnTab: true
                    font.family: "monospace"
                    font.pixelSize: Style.smallSize
                    color: Style.primaryText
                    selectedTextColor: "white"
                    selectionColor: Style.accentTop
                }
            }
            SoftButton {
                objectName: "copyCommandButton"
                text: "Copy"
                onClicked: {
                    commandField.selectAll();
                    commandField.copy();
                    commandField.deselect();
                }
            }
        }
        SoftButton {
            objectName: "bootstrapButton"
            Layout.fillWidth: true
            visible: card.buttonText !== ""
            text: card.buttonText
            symbol: "terminal"
            onClicked: card.bootstrapRequested()
        }
        Text {
            objectName: "terminalProblem"
            Layout.fillWidth: true
            visible: card.terminalProblem !== ""
            text: card.terminalProblem
            font.pixelSize: Style.smallSize
            color: Style.error
            wrapMode: Text.WordWrap
        }
    }
}
