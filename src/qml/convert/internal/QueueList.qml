import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The files taken at once, each with its state in words beside its symbol; the selected one is
// the one the preview and the export buttons show. Tab reaches the list and the arrow keys move
// through it.
ColumnLayout {
    id: queueSection

    required property ConversionQueue queue
    required property bool canSaveAll

    signal rowSelected(int row)
    signal saveAllRequested

    objectName: "queueSection"
    spacing: 8

    SectionCaption {
        text: "FILES"
    }
    Rectangle {
        Layout.fillWidth: true
        // Five rows and a half show at most: the half says there is more below.
        Layout.preferredHeight: Math.min(list.contentHeight, 187) + 8
        radius: 10
        color: Style.withOpacity(Style.primaryText, 0.035)
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.12)

        FocusRing {
            shown: list.activeFocus
        }
        // A Binding rather than a bound property, which a click on a row, setting the index
        // itself, would undo.
        Binding {
            target: list
            property: "currentIndex"
            value: queueSection.queue.selectedRow
        }
        ListView {
            id: list
            objectName: "queueList"
            anchors.fill: parent
            anchors.margins: 4
            clip: true
            model: queueSection.queue
            onCurrentIndexChanged: {
                if (currentIndex !== queueSection.queue.selectedRow)
                    queueSection.rowSelected(currentIndex);
            }
            activeFocusOnTab: true
            keyNavigationEnabled: true
            highlightMoveDuration: 0
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }
            Accessible.role: Accessible.List
            Accessible.name: "Queued files"

            delegate: Rectangle {
                id: row

                required property int index
                required property string fileName
                required property int conversionState
                required property string stateText

                readonly property bool isSelected: ListView.isCurrentItem

                objectName: "queueRow" + index
                width: ListView.view.width
                height: 34
                radius: 7
                color: isSelected ? Style.withOpacity(Style.accentTop, 0.16) : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: fileName + ", " + stateText
                Accessible.selected: isSelected

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 10
                    anchors.rightMargin: 10
                    spacing: 8

                    Item {
                        implicitWidth: 14
                        implicitHeight: 14

                        BusyIndicator {
                            anchors.fill: parent
                            visible: running
                            running: row.conversionState === ConversionQueue.State.converting
                            padding: 0
                            palette.dark: Style.secondaryText
                        }
                        SymbolIcon {
                            anchors.fill: parent
                            visible: row.conversionState === ConversionQueue.State.converted || row.conversionState === ConversionQueue.State.failed
                            symbol: row.conversionState === ConversionQueue.State.converted ? "checkmark.circle.fill" : "exclamationmark.triangle.fill"
                            color: row.conversionState === ConversionQueue.State.converted ? Style.found : Style.error
                        }
                    }
                    Text {
                        Layout.fillWidth: true
                        text: row.fileName
                        textFormat: Text.PlainText
                        elide: Text.ElideMiddle
                        maximumLineCount: 1
                        font.pixelSize: Style.smallSize
                        font.weight: row.isSelected ? Font.Medium : Font.Normal
                        color: Style.primaryText
                    }
                    Text {
                        objectName: "queueRowState"
                        text: row.stateText
                        textFormat: Text.PlainText
                        font.pixelSize: Style.captionSize
                        color: row.conversionState === ConversionQueue.State.failed ? Style.error : Style.secondaryText
                    }
                }
                TapHandler {
                    onTapped: {
                        row.ListView.view.forceActiveFocus(Qt.MouseFocusReason);
                        row.ListView.view.currentIndex = row.index;
                    }
                }
            }
        }
    }
    SoftButton {
        objectName: "saveAllButton"
        Layout.fillWidth: true
        text: "Save All…"
        symbol: "square.and.arrow.down"
        enabled: queueSection.canSaveAll
        onClicked: queueSection.saveAllRequested()
        ToolTip.text: "Save every converted PDF into a folder"
    }
}
