pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Velmarto

// The keyboard shortcuts in a small sheet over the window. Escape, "Done" or a click outside
// closes it.
Popup {
    id: sheet

    readonly property list<string> actions: ["Open a MIDI file", "Convert", "Stop the conversion", "Save the PDF", "Zoom the score in or out", "Fit the score to the width", "Open a new window", "Close the window", "Quit Velmarto", "Show these shortcuts"]
    readonly property list<string> keys: ["Ctrl+O", "Ctrl+Return", "Esc", "Ctrl+S", "Ctrl+Plus, Ctrl+Minus", "Ctrl+0", "Ctrl+N", "Ctrl+W", "Ctrl+Q", "Ctrl+?, F1"]

    objectName: "shortcutsSheet"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 24

    background: Rectangle {
        radius: 12
        color: Style.windowBackground
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.12)
    }

    contentItem: ColumnLayout {
        spacing: 14

        Text {
            text: "Keyboard Shortcuts"
            font.pixelSize: Style.headingSize
            font.weight: Font.DemiBold
            color: Style.primaryText
            Accessible.role: Accessible.Heading
        }
        GridLayout {
            columns: 2
            rowSpacing: 8
            columnSpacing: 32

            Repeater {
                model: sheet.actions.length * 2

                delegate: Text {
                    required property int index
                    readonly property int row: Math.floor(index / 2)
                    readonly property bool isKeys: index % 2 === 1

                    text: isKeys ? sheet.keys[row] : sheet.actions[row]
                    textFormat: Text.PlainText
                    font.pixelSize: Style.bodySize
                    font.weight: isKeys ? Font.Medium : Font.Normal
                    color: isKeys ? Style.primaryText : Style.secondaryText
                }
            }
        }
        SoftButton {
            objectName: "shortcutsDoneButton"
            Layout.alignment: Qt.AlignRight
            text: "Done"
            focus: true
            onClicked: sheet.close()
        }
    }
}
