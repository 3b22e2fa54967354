import QtQuick
import QtQuick.Layouts
import Velmarto

// A small badge beside a title and a line under it, at the head of a tab.
RowLayout {
    id: header

    required property string symbol
    required property string title
    required property string subtitle
    property real symbolSize: 22

    spacing: 12

    BadgeTile {
        symbol: header.symbol
        symbolSize: header.symbolSize
    }
    ColumnLayout {
        spacing: 2

        Text {
            text: header.title
            font.pixelSize: Style.headingSize
            font.bold: true
            color: Style.primaryText
        }
        Text {
            text: header.subtitle
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
        }
    }
    Item {
        Layout.fillWidth: true
    }
}
