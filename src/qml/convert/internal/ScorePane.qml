import QtQuick
import QtQuick.Layouts
import Velmarto

// The right side: the result's name over its pages, or the empty state before there is one.
ColumnLayout {
    id: pane

    required property bool hasResult
    required property url pdfURL
    required property string pdfFileName

    // A file dropped on the pages or the empty state, as on the drop zone; the receiver accepts
    // the drop's proposed action when it takes the drop.
    signal dropped(DragEvent drop)

    spacing: 0

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: titleRow.implicitHeight + 20
        color: Style.withOpacity(Style.windowBackground, 0.85)

        RowLayout {
            id: titleRow
            anchors.fill: parent
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            anchors.topMargin: 10
            anchors.bottomMargin: 10
            spacing: 8

            SymbolIcon {
                implicitWidth: 15
                implicitHeight: 15
                symbol: "doc.richtext"
                color: Style.secondaryText
            }
            Text {
                id: previewTitle
                objectName: "previewTitle"
                Layout.fillWidth: true
                text: pane.hasResult ? pane.pdfFileName : "Score Preview"
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                maximumLineCount: 1
                font.pixelSize: Style.smallSize
                font.weight: Font.Medium
                color: Style.primaryText
                PlainToolTip {
                    text: pane.pdfFileName
                    visible: titleHover.hovered && previewTitle.truncated
                    delay: 500
                }

                HoverHandler {
                    id: titleHover
                }
            }
        }
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Style.withOpacity(Style.primaryText, 0.10)
    }
    Rectangle {
        Layout.fillWidth: true
        Layout.fillHeight: true
        color: Style.windowBackground

        Loader {
            objectName: "previewLoader"
            anchors.fill: parent
            active: pane.hasResult
            // A bound component would say where this name comes from, but Qt 6.4's Loader
            // cannot create one.
            sourceComponent: PDFPreview {
                url: pane.pdfURL // qmllint disable unqualified
            }
        }
        EmptyState {
            anchors.centerIn: parent
            visible: !pane.hasResult
        }
        DropArea {
            id: previewDrop
            objectName: "previewDropArea"
            anchors.fill: parent
            onEntered: drag => drag.accepted = drag.hasUrls
            onDropped: drop => pane.dropped(drop)
        }
        Rectangle {
            anchors.fill: parent
            anchors.margins: 6
            radius: 14
            color: "transparent"
            border.width: 1.5
            border.color: Style.accentTop
            visible: previewDrop.containsDrag
        }
    }
}
