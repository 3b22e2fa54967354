pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Velmarto

// The window's tabs as one row of segments, each an icon and a label, centred above the pages.
SegmentTrack {
    id: strip

    // Parallel lists: a segment's label and its icon.
    required property list<string> labels
    required property list<string> symbols
    property int currentIndex: 0

    implicitHeight: 30

    Repeater {
        model: strip.labels

        delegate: SegmentButton {
            id: tab

            required property string modelData
            required property int index

            objectName: "tab-" + modelData
            Layout.preferredWidth: 118
            selected: index === strip.currentIndex
            text: modelData
            font.pixelSize: Style.bodySize
            onClicked: strip.currentIndex = index
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
        }
    }
}
