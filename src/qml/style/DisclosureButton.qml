import QtQuick
import QtQuick.Layouts
import Velmarto

// A section caption that opens and closes the section below it: a click, Space or Return.
KeyboardButton {
    id: control

    property bool expanded: false

    focusPolicy: Qt.TabFocus
    padding: 2
    Accessible.name: text + (expanded ? ", open" : ", closed")

    contentItem: RowLayout {
        spacing: 6

        Text {
            text: "›"
            font.pixelSize: Style.largeSize
            font.bold: true
            color: Style.secondaryText
            rotation: control.expanded ? 90 : 0
            Behavior on rotation  {
                NumberAnimation {
                    duration: 150
                }
            }
        }
        SectionCaption {
            Layout.fillWidth: true
            text: control.text
        }
    }
    background: Item {
        FocusRing {
            shown: control.visualFocus
            cornerRadius: 4
        }
    }
}
