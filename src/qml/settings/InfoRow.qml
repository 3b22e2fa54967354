import QtQuick
import QtQuick.Layouts
import Velmarto

// A label on the left, its value on the right.
RowLayout {
    id: row

    required property string label
    required property string value

    Layout.fillWidth: true

    Text {
        text: row.label
        font.pixelSize: 11
        color: Style.secondaryText
    }
    Item {
        Layout.fillWidth: true
    }
    Text {
        text: row.value
        textFormat: Text.PlainText
        font.pixelSize: 11
        font.weight: Font.Medium
        color: Style.primaryText
    }
}
