pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Velmarto

// How MuseScore reads the file, closed until the user opens it; after a conversion, a change
// offers to convert again.
ColumnLayout {
    id: section

    required property ImportOptionsModel options
    required property bool offersConvertAgain

    signal convertAgainRequested

    objectName: "importOptionsSection"
    spacing: 12

    DisclosureButton {
        objectName: "importOptionsToggle"
        Layout.fillWidth: true
        text: "IMPORT OPTIONS"
        expanded: section.options.expanded
        onClicked: section.options.expanded = !section.options.expanded
    }
    ColumnLayout {
        objectName: "importOptionsBody"
        Layout.fillWidth: true
        visible: section.options.expanded
        spacing: 14

        Repeater {
            model: section.options.options

            delegate: ImportOptionRow {
                required property var modelData

                Layout.fillWidth: true
                name: modelData.name
                title: modelData.title
                summary: modelData.summary
                titles: modelData.titles
                values: modelData.values
                value: section.options.values[modelData.name]
                onPicked: chosen => section.options.choose(modelData.name, chosen)
            }
        }
    }
    SoftButton {
        objectName: "convertAgainButton"
        Layout.fillWidth: true
        visible: section.offersConvertAgain
        text: "Convert Again"
        symbol: "wand.and.stars"
        onClicked: section.convertAgainRequested()
    }
}
