import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// A drop-down list for a choice among more values than fit side by side; it shows the value it
// is given and reports the user's choice through picked.
ComboBox {
    id: box

    // The titles shown and the values they stand for, in the same order.
    required property list<string> titles
    required property list<string> values
    required property string value

    signal picked(string chosen)

    model: titles
    currentIndex: values.indexOf(value)
    implicitHeight: 30
    font.pixelSize: Style.smallSize
    onActivated: index => box.picked(box.values[index])

    contentItem: Text {
        leftPadding: 10
        text: box.displayText
        font: box.font
        color: Style.primaryText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    indicator: Text {
        x: box.width - width - 10
        y: (box.height - height) / 2
        text: "⌄"
        font.pixelSize: Style.largeSize
        color: Style.secondaryText
    }
    background: Rectangle {
        radius: 8
        color: Style.withOpacity(Style.primaryText, box.down ? 0.12 : 0.06)

        FocusRing {
            shown: box.visualFocus
            cornerRadius: 8
        }
    }
}
