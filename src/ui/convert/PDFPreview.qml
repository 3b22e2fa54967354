pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// One PDF, its pages scaled to the width of the view and stacked in one scrolling column on a
// neutral grey. A file that cannot be opened leaves only the grey.
Rectangle {
    id: root

    required property url url
    readonly property alias document: pdfDocument
    readonly property alias pageList: pages
    // Left and right of every page, and between pages.
    readonly property real gap: 12

    color: Qt.rgba(0.93, 0.93, 0.93, 1.0)

    onUrlChanged: pdfDocument.source = url
    Component.onCompleted: pdfDocument.source = url

    PdfPreviewDocument {
        id: pdfDocument
    }

    ListView {
        id: pages

        anchors.fill: parent
        clip: true
        spacing: root.gap
        topMargin: root.gap
        bottomMargin: root.gap
        boundsBehavior: Flickable.StopAtBounds
        model: pdfDocument.pageCount
        ScrollBar.vertical: ScrollBar {
        }

        delegate: Item {
            id: pageDelegate

            required property int index
            readonly property size pointSize: pdfDocument.pagePointSize(index)

            width: pages.width
            height: pointSize.width > 0 ? paper.width * pointSize.height / pointSize.width : 0

            Rectangle {
                id: paper
                x: root.gap
                width: pageDelegate.width - 2 * root.gap
                height: pageDelegate.height
                color: "white"

                PdfPageItem {
                    objectName: "pdfPage" + pageDelegate.index
                    anchors.fill: parent
                    document: pdfDocument
                    page: pageDelegate.index
                }
            }
        }
    }
}
