pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// While a conversion runs: its stages in order, the one it is in, the time so far and the way to
// stop it. It sits over the score, so nothing in the sidebar moves when it comes and goes.
Rectangle {
    id: strip

    // The names in order, a list of strings.
    required property var stageNames
    required property int stageIndex
    required property string elapsedText

    signal cancelRequested

    objectName: "conversionProgress"
    implicitHeight: row.implicitHeight + 16
    color: Style.withOpacity(Style.accentTop, 0.08)

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 8

        // A positioner of its own: the row of stages changes with the preset, and a layout that
        // lays out a Repeater's delegates as they are replaced can crash (Qt 6.4).
        Row {
            spacing: 8

            Repeater {
                model: strip.stageNames

                delegate: Row {
                    id: stage

                    required property string modelData
                    required property int index
                    readonly property bool isDone: index < strip.stageIndex
                    readonly property bool isCurrent: index === strip.stageIndex

                    spacing: 6

                    Item {
                        implicitWidth: 14
                        implicitHeight: 14

                        SymbolIcon {
                            anchors.fill: parent
                            visible: stage.isDone
                            symbol: "checkmark.circle.fill"
                            color: Style.accentTop
                        }
                        BusyIndicator {
                            anchors.fill: parent
                            visible: stage.isCurrent
                            running: stage.isCurrent
                            padding: 0
                            palette.dark: Style.primaryText
                        }
                        Rectangle {
                            anchors.fill: parent
                            anchors.margins: 2
                            visible: !stage.isDone && !stage.isCurrent
                            radius: width / 2
                            color: "transparent"
                            border.width: 1.5
                            border.color: Style.secondaryText
                        }
                    }
                    Text {
                        objectName: "stage" + stage.index
                        text: stage.modelData
                        textFormat: Text.PlainText
                        font.pixelSize: Style.smallSize
                        font.weight: stage.isCurrent ? Font.DemiBold : Font.Normal
                        color: stage.isDone || stage.isCurrent ? Style.primaryText : Style.secondaryText
                        Accessible.name: stage.modelData + (stage.isDone ? ", done" : stage.isCurrent ? ", in progress" : "")
                    }
                    Text {
                        visible: stage.index < strip.stageNames.length - 1
                        text: "›"
                        font.pixelSize: Style.bodySize
                        color: Style.secondaryText
                    }
                }
            }
        }
        Item {
            Layout.fillWidth: true
        }
        Text {
            objectName: "elapsedTime"
            text: strip.elapsedText
            font.pixelSize: Style.smallSize
            color: Style.secondaryText
            Accessible.name: "Elapsed time " + strip.elapsedText
        }
        LinkButton {
            objectName: "cancelButton"
            text: "Cancel"
            font.pixelSize: Style.smallSize
            onClicked: strip.cancelRequested()
            ToolTip.text: "Stop the conversion (Esc)"
        }
    }
}
