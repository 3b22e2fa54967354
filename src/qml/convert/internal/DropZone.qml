import QtQuick
// Named, because this file has an Overlay of its own.
import QtQuick.Controls.Basic as Controls
import QtQuick.Layouts
import Velmarto

// Where a MIDI file is dropped or chosen. Dashed and inviting until a file is chosen, then
// showing that file's name.
Item {
    id: zone

    required property bool hasMIDI
    required property bool isTargeted
    required property string midiFileName

    signal chooseFileRequested
    signal targetedByDrag(bool isTargeted)
    // The receiver accepts the drop's proposed action when it takes the drop.
    signal dropped(DragEvent drop)

    // One of the two texts the zone fades between.
    component Overlay: ColumnLayout {
        required property bool shown

        anchors.centerIn: parent
        width: parent.width - 24
        spacing: 4
        opacity: shown ? 1.0 : 0.0
        visible: opacity > 0
        Behavior on opacity  {
            NumberAnimation {
                duration: 200
                easing.type: Easing.OutQuad
            }
        }
    }

    objectName: "dropZone"
    implicitHeight: 124

    Rectangle {
        anchors.fill: parent
        radius: 14
        color: zone.isTargeted ? Style.withOpacity(Style.accentTop, 0.10) : Style.withOpacity(Style.primaryText, 0.035)
        Behavior on color  {
            ColorAnimation {
                duration: 150
                easing.type: Easing.OutQuad
            }
        }
    }
    RoundedOutline {
        objectName: "dropZoneBorder"
        anchors.fill: parent
        radius: 14
        lineWidth: 1.5
        dashPattern: zone.hasMIDI ? [] : [7, 5]
        color: zone.isTargeted ? Style.accentTop : Style.withOpacity(Style.primaryText, 0.18)
        Behavior on color  {
            ColorAnimation {
                duration: 150
                easing.type: Easing.OutQuad
            }
        }
    }

    DropArea {
        anchors.fill: parent
        onEntered: drag => {
            drag.accepted = drag.hasUrls;
            zone.targetedByDrag(drag.hasUrls);
        }
        onExited: zone.targetedByDrag(false)
        onDropped: drop => {
            zone.targetedByDrag(false);
            zone.dropped(drop);
        }
    }

    Overlay {
        shown: !zone.hasMIDI

        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            implicitWidth: 28
            implicitHeight: 28
            symbol: "arrow.down.doc"
            color: Style.secondaryText
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Drop a MIDI file here"
            font.pixelSize: Style.bodySize
            font.weight: Font.Medium
            color: Style.primaryText
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "(.mid or .midi)"
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
        }
        LinkButton {
            objectName: "chooseFileLink"
            Layout.alignment: Qt.AlignHCenter
            text: "or choose a file…"
            onClicked: zone.chooseFileRequested()
            Controls.ToolTip.text: "Choose a MIDI file (Ctrl+O)"
        }
    }

    Overlay {
        shown: zone.hasMIDI

        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            implicitWidth: 26
            implicitHeight: 26
            symbol: "doc.badge.gearshape"
            gradient: Style.accentGradient
        }
        Text {
            id: fileNameText
            objectName: "midiFileName"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: zone.midiFileName
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            maximumLineCount: 1
            font.pixelSize: Style.bodySize
            font.weight: Font.Medium
            color: Style.primaryText
            // The whole name, when the middle of it is cut off.
            PlainToolTip {
                text: zone.midiFileName
                visible: fileNameHover.hovered && fileNameText.truncated
                delay: 500
            }

            HoverHandler {
                id: fileNameHover
            }
        }
        LinkButton {
            Layout.alignment: Qt.AlignHCenter
            text: "Choose a different file…"
            onClicked: zone.chooseFileRequested()
            Controls.ToolTip.text: "Choose a MIDI file (Ctrl+O)"
        }
    }
}
