pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The window's tabs as one row of segments, each an icon and a label, centred above the pages.
Rectangle {
    id: strip

    // Parallel lists: a segment's label and its icon.
    required property list<string> labels
    required property list<string> symbols
    property int currentIndex: 0

    implicitWidth: segments.implicitWidth + 4
    implicitHeight: 30
    radius: 8
    color: Style.withOpacity(Style.primaryText, 0.06)

    RowLayout {
        id: segments

        anchors.fill: parent
        anchors.margins: 2
        spacing: 2

        Repeater {
            model: strip.labels

            delegate: Button {
                id: tab

                required property string modelData
                required property int index
                readonly property bool selected: index === strip.currentIndex

                objectName: "tab-" + modelData
                Layout.fillHeight: true
                Layout.preferredWidth: 118
                text: modelData
                font.pixelSize: 13
                font.weight: selected ? Font.DemiBold : Font.Normal
                onClicked: strip.currentIndex = index
                Keys.onReturnPressed: tab.clicked()
                Keys.onEnterPressed: tab.clicked()
                Keys.onLeftPressed: strip.currentIndex = Math.max(0, strip.currentIndex - 1)
                Keys.onRightPressed: strip.currentIndex = Math.min(strip.labels.length - 1, strip.currentIndex + 1)

                contentItem: RowLayout {
                    spacing: 6

                    Item {
                        Layout.fillWidth: true
                    }
                    SymbolIcon {
                        Layout.preferredWidth: 14
                        Layout.preferredHeight: 14
                        symbol: strip.symbols[tab.index]
                        color: tab.selected ? "white" : Style.primaryText
                    }
                    Text {
                        text: tab.text
                        font: tab.font
                        color: tab.selected ? "white" : Style.primaryText
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                }
                background: Rectangle {
                    radius: 6
                    color: tab.selected ? Style.accentTop : tab.down ? Style.withOpacity(Style.primaryText, 0.08) : "transparent"

                    FocusRing {
                        shown: tab.visualFocus
                        cornerRadius: 6
                    }
                }
            }
        }
    }
}
