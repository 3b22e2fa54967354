import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Pdf

// One PDF, its pages scaled to the width of the view and stacked in one scrolling column on a
// neutral grey. A file that cannot be opened leaves only the grey.
Rectangle {
    id: root

    required property url url
    readonly property alias document: document
    readonly property alias pageList: pages
    // Left and right of every page, and between pages.
    readonly property real gap: 12

    color: Qt.rgba(0.93, 0.93, 0.93, 1.0)

    onUrlChanged: load()
    Component.onCompleted: load()

    // The same location keeps its document, scroll position and zoom even if the file changed on
    // disk; conversions write every result to a new place, so a new result always loads. A
    // location that failed to open is tried again.
    function load() {
        if (document.status === PdfDocument.Ready && document.source.toString() === url.toString())
            return
        document.source = ""
        document.source = url
    }

    PdfDocument {
        id: document
    }

    ListView {
        id: pages

        anchors.fill: parent
        clip: true
        spacing: root.gap
        topMargin: root.gap
        bottomMargin: root.gap
        boundsBehavior: Flickable.StopAtBounds
        model: document.status === PdfDocument.Ready ? document.pageCount : 0
        ScrollBar.vertical: ScrollBar {}

        delegate: Item {
            id: page

            required property int index
            readonly property size pointSize: document.pagePointSize(index)

            width: pages.width
            height: pointSize.width > 0 ? paper.width * pointSize.height / pointSize.width : 0

            Rectangle {
                id: paper
                x: root.gap
                width: page.width - 2 * root.gap
                height: page.height
                color: "white"

                PdfPageImage {
                    objectName: "pdfPage" + page.index
                    anchors.fill: parent
                    document: document
                    currentFrame: page.index
                    asynchronous: true
                    fillMode: Image.PreserveAspectFit
                    sourceSize.width: paper.width * Screen.devicePixelRatio
                }
            }
        }
    }
}
