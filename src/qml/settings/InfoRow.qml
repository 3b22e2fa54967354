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
        font.pixelSize: Style.captionSize
        color: Style.secondaryText
    }
    Item {
        Layout.fillWidth: true
    }
    Text {
        text: row.value
        textFormat: Text.PlainText
        font.pixelSize: Style.captionSize
        font.weight: Font.Medium
        color: Style.primaryText
    }
}
