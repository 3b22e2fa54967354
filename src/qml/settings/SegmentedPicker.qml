pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// A row of equally wide segments, one per option; the segment titles are its only text. It shows
// the value it is given and reports the user's choice through picked, so nothing is written until
// someone chooses.
Rectangle {
    id: picker

    // The segments' titles and the values they stand for, in the same order.
    required property list<string> titles
    required property list<string> values
    required property string value

    signal picked(string chosen)

    implicitHeight: 30
    radius: 8
    color: Style.withOpacity(Style.primaryText, 0.06)

    RowLayout {
        anchors.fill: parent
        anchors.margins: 2
        spacing: 2

        Repeater {
            model: picker.values

            delegate: Button {
                id: segment

                required property string modelData
                required property int index
                readonly property bool selected: modelData === picker.value

                objectName: "segment-" + modelData
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredWidth: 1
                text: picker.titles[index]
                font.pixelSize: 12
                font.weight: selected ? Font.DemiBold : Font.Normal
                onClicked: picker.picked(modelData)
                Keys.onReturnPressed: segment.clicked()
                Keys.onEnterPressed: segment.clicked()

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
        }
    }
}
