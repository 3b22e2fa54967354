pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Velmarto

// A row of equally wide segments, one per option; the segment titles are its only text. It shows
// the value it is given and reports the user's choice through picked, so nothing is written until
// someone chooses.
SegmentTrack {
    id: picker

    // The segments' titles and the values they stand for, in the same order.
    required property list<string> titles
    required property list<string> values
    required property string value

    signal picked(string chosen)

    implicitHeight: 30

    Repeater {
        model: picker.values

        delegate: SegmentButton {
            required property string modelData
            required property int index

            objectName: "segment-" + modelData
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            selected: modelData === picker.value
            text: picker.titles[index]
            font.pixelSize: Style.smallSize
            onClicked: picker.picked(modelData)
        }
    }
}
