import QtQuick
import QtQuick.Layouts
import Velmarto

// One segment of a SegmentTrack, filled with the accent while it is the selected one.
KeyboardButton {
    id: segment

    property bool selected: false

    Layout.fillHeight: true
    font.weight: selected ? Font.DemiBold : Font.Normal

    contentItem: Text {
        text: segment.text
        font: segment.font
        color: segment.selected ? "white" : Style.primaryText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        radius: 6
        color: segment.selected ? Style.accentTop : segment.down ? Style.withOpacity(Style.primaryText, 0.08) : "transparent"

        FocusRing {
            shown: segment.visualFocus
            cornerRadius: 6
        }
    }
}
