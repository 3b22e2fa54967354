import QtQuick
import QtQuick.Layouts
import Velmarto

// One import option: its name, a line on what it does, and its choices side by side or, when
// there are many, in a drop-down list.
ColumnLayout {
    id: row

    required property string name
    required property string title
    required property string summary
    required property list<string> titles
    required property list<string> values
    required property string value

    signal picked(string chosen)

    readonly property int mostSegments: 6

    objectName: "importOption-" + name
    spacing: 3

    Text {
        Layout.fillWidth: true
        text: row.title
        font.pixelSize: Style.bodySize
        font.weight: Font.Medium
        color: Style.primaryText
    }
    Text {
        Layout.fillWidth: true
        text: row.summary
        font.pixelSize: Style.captionSize
        color: Style.secondaryText
        wrapMode: Text.WordWrap
    }
    SegmentedPicker {
        Layout.fillWidth: true
        Layout.topMargin: 3
        visible: row.values.length <= row.mostSegments
        titles: row.titles
        values: row.values
        value: row.value
        onPicked: chosen => row.picked(chosen)
    }
    ChoiceBox {
        objectName: "choiceBox-" + row.name
        Layout.fillWidth: true
        Layout.topMargin: 3
        visible: row.values.length > row.mostSegments
        titles: row.titles
        values: row.values
        value: row.value
        onPicked: chosen => row.picked(chosen)
    }
}
