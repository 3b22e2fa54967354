import QtQuick
import QtQuick.Layouts
import Velmarto

// One engine: its symbol, name and purpose, and "Installed" or "Needed".
RowLayout {
    id: row

    required property string name
    required property string detail
    required property bool found

    spacing: 12

    SymbolIcon {
        objectName: "checkSymbol"
        Layout.preferredWidth: 20
        Layout.preferredHeight: 20
        symbol: row.found ? "checkmark.circle.fill" : "arrow.down.circle"
        color: row.found ? Style.found : Style.secondaryText
    }
    Column {
        Layout.fillWidth: true
        spacing: 1

        Text {
            text: row.name
            font.pixelSize: Style.bodySize
            font.weight: Font.DemiBold
            color: Style.primaryText
        }
        Text {
            text: row.detail
            textFormat: Text.PlainText
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
        }
    }
    Text {
        objectName: "checkState"
        text: row.found ? "Installed" : "Needed"
        font.pixelSize: Style.captionSize
        font.weight: Font.Medium
        color: row.found ? Style.found : Style.secondaryText
    }
}
