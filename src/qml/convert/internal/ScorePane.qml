import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The right side: the result's name over its pages, or the empty state before there is one; while
// a conversion runs, its progress over them, and MuseScore's draft as soon as there is one.
ColumnLayout {
    id: pane

    required property bool hasResult
    required property url previewURL
    required property bool hasPreview
    required property bool isDraft
    required property string pdfFileName
    required property bool isConverting
    required property bool hasError
    required property var stageNames
    required property int stageIndex
    required property string elapsedText

    // A file dropped on the pages or the empty state, as on the drop zone; the receiver accepts
    // the drop's proposed action when it takes the drop.
    signal dropped(DragEvent drop)
    signal cancelRequested

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
                text: pane.isDraft ? "Draft by MuseScore" : pane.hasResult ? pane.pdfFileName : "Score Preview"
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
    ProgressStrip {
        Layout.fillWidth: true
        visible: pane.isConverting
        stageNames: pane.stageNames
        stageIndex: pane.stageIndex
        elapsedText: pane.elapsedText
        onCancelRequested: pane.cancelRequested()
    }
    Rectangle {
        Layout.fillWidth: true
        Layout.fillHeight: true
        color: Style.windowBackground

        Loader {
            objectName: "previewLoader"
            anchors.fill: parent
            active: pane.hasPreview
            // A bound component would say where this name comes from, but Qt 6.4's Loader
            // cannot create one.
            sourceComponent: PDFPreview {
                url: pane.previewURL // qmllint disable unqualified
            }
        }
        EmptyState {
            anchors.centerIn: parent
            visible: !pane.hasPreview
            isConverting: pane.isConverting
            hasError: pane.hasError
        }
        Label {
            objectName: "draftBadge"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: parent.top
            anchors.topMargin: 14
            visible: pane.isDraft
            text: "Draft · Engraving with LilyPond…"
            color: "white"
            font.pixelSize: Style.smallSize
            font.weight: Font.Medium
            leftPadding: 12
            rightPadding: 12
            topPadding: 5
            bottomPadding: 5
            background: Rectangle {
                radius: height / 2
                color: Qt.rgba(0.16, 0.12, 0.40, 0.85)
            }
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
