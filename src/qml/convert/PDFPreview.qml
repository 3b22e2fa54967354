pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// One PDF, its pages stacked in one scrolling column on a neutral backdrop. The pages fit the width
// of the view unless zoomed, and the view pages through the score from the keyboard as a PDF
// reader does. A file that cannot be opened leaves only the backdrop.
Rectangle {
    id: root

    required property url url
    readonly property alias document: pdfDocument
    readonly property alias pageList: pages
    // Left and right of every page, and between pages.
    readonly property real gap: 12
    // 1 fits the pages to the width of the view, and keeps them fitted as it changes.
    property real zoom: 1.0
    readonly property real minimumZoom: 0.25
    readonly property real maximumZoom: 4.0
    readonly property real pageWidth: Math.max(0, pages.width - 2 * gap) * zoom
    // The page in the middle of the view, or the last one once scrolled to the end.
    property int currentPage: 0
    // Where the next document opens: the engraving that replaces a draft ("NAME.pdf" after
    // "NAME-draft.pdf" in the same folder) opens on the page and at the zoom the reader was at.
    property int pageToKeep: 0
    property real zoomToKeep: 1.0

    color: Style.pageBackdrop
    activeFocusOnTab: true
    Accessible.role: Accessible.Document
    Accessible.name: "Score preview"

    onUrlChanged: {
        const sameScore = pdfDocument.source.toString() === url.toString().replace(/\.pdf$/, "-draft.pdf");
        pageToKeep = sameScore ? currentPage : 0;
        zoomToKeep = sameScore ? zoom : 1.0;
        pdfDocument.source = url;
    }
    Component.onCompleted: pdfDocument.source = url

    // A new score starts at its first page, fitted to the width; the same one keeps its place.
    Connections {
        target: pdfDocument
        function onSourceChanged() {
            root.zoom = root.zoomToKeep;
            pages.contentX = 0;
            pages.contentY = 0;
        }
    }

    function showKeptPage() {
        const wanted = Math.min(root.pageToKeep, pdfDocument.pageCount) - 1;
        root.pageToKeep = 0;
        for (let child = 0; child < column.children.length; ++child) {
            const page = column.children[child];
            if (page.index === wanted)
                pages.contentY = Math.max(0, Math.min(pages.contentHeight - pages.height, column.y + page.y - root.gap));
        }
    }

    function findCurrentPage() {
        if (pdfDocument.pageCount === 0 || pages.contentHeight <= 2 * root.gap) {
            root.currentPage = 0;
            return;
        }
        if (pages.atYEnd && pages.contentHeight > pages.height) {
            root.currentPage = pdfDocument.pageCount;
            return;
        }
        const middle = pages.contentY + pages.height / 2;
        let current = 1;
        for (let child = 0; child < column.children.length; ++child) {
            const page = column.children[child];
            if (page.index !== undefined && column.y + page.y <= middle)
                current = Math.max(current, page.index + 1);
        }
        root.currentPage = current;
    }

    // Zooms about a point of the view, which stays over the same spot of the score.
    function zoomTo(target, point) {
        const zoom = Math.min(root.maximumZoom, Math.max(root.minimumZoom, target));
        if (zoom === root.zoom)
            return;
        const ratio = zoom / root.zoom;
        const spotX = pages.contentX + point.x - column.x;
        const spotY = pages.contentY + point.y - column.y;
        root.zoom = zoom;
        pages.contentX = Math.max(0, Math.min(pages.contentWidth - pages.width, column.x + spotX * ratio - point.x));
        pages.contentY = Math.max(0, Math.min(pages.contentHeight - pages.height, column.y + spotY * ratio - point.y));
    }

    function zoomAboutCentre(factor) {
        zoomTo(root.zoom * factor, Qt.point(pages.width / 2, pages.height / 2));
    }

    function scrollBy(dx, dy) {
        pages.contentX = Math.max(0, Math.min(pages.contentWidth - pages.width, pages.contentX + dx));
        pages.contentY = Math.max(0, Math.min(pages.contentHeight - pages.height, pages.contentY + dy));
    }

    Keys.onPressed: event => {
        const line = 40;
        const screen = Math.max(line, pages.height - line);
        const zoomKeys = event.modifiers & Qt.ControlModifier;
        if (zoomKeys && (event.key === Qt.Key_Plus || event.key === Qt.Key_Equal))
            zoomAboutCentre(1.25);
        else if (zoomKeys && event.key === Qt.Key_Minus)
            zoomAboutCentre(0.8);
        else if (zoomKeys && event.key === Qt.Key_0)
            root.zoom = 1.0;
        else if (event.key === Qt.Key_Down)
            scrollBy(0, line);
        else if (event.key === Qt.Key_Up)
            scrollBy(0, -line);
        else if (event.key === Qt.Key_Right)
            scrollBy(line, 0);
        else if (event.key === Qt.Key_Left)
            scrollBy(-line, 0);
        else if (event.key === Qt.Key_PageDown || (event.key === Qt.Key_Space && !(event.modifiers & Qt.ShiftModifier)))
            scrollBy(0, screen);
        else if (event.key === Qt.Key_PageUp || event.key === Qt.Key_Space)
            scrollBy(0, -screen);
        else if (event.key === Qt.Key_Home)
            pages.contentY = 0;
        else if (event.key === Qt.Key_End)
            pages.contentY = Math.max(0, pages.contentHeight - pages.height);
        else
            return;
        event.accepted = true;
    }

    PdfPreviewDocument {
        id: pdfDocument
    }

    Flickable {
        id: pages
        objectName: "previewPages"

        readonly property int count: pdfDocument.pageCount

        anchors.fill: parent
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: Math.max(width, root.pageWidth + 2 * root.gap)
        contentHeight: column.height + 2 * root.gap
        ScrollBar.vertical: ScrollBar {
        }
        ScrollBar.horizontal: ScrollBar {
        }

        onContentYChanged: root.findCurrentPage()
        onContentHeightChanged: root.findCurrentPage()
        onHeightChanged: root.findCurrentPage()

        TapHandler {
            onPressedChanged: {
                if (pressed)
                    root.forceActiveFocus(Qt.MouseFocusReason);
            }
        }
        WheelHandler {
            acceptedModifiers: Qt.ControlModifier
            onWheel: event => root.zoomTo(root.zoom * Math.pow(2, event.angleDelta.y / 720), pages.mapFromItem(pages.contentItem, point.position))
        }

        Column {
            id: column
            x: Math.max(root.gap, (pages.contentWidth - root.pageWidth) / 2)
            y: root.gap
            spacing: root.gap

            onPositioningComplete: {
                if (root.pageToKeep > 0 && pdfDocument.pageCount > 0)
                    root.showKeptPage();
                root.findCurrentPage();
            }

            Repeater {
                model: pdfDocument.pageCount

                delegate: Rectangle {
                    id: paper

                    required property int index
                    readonly property size pointSize: pdfDocument.pagePointSize(index)

                    width: root.pageWidth
                    height: pointSize.width > 0 ? width * pointSize.height / pointSize.width : 0
                    color: "white"

                    PdfPageItem {
                        objectName: "pdfPage" + paper.index
                        anchors.fill: parent
                        document: pdfDocument
                        page: paper.index
                        // A screen's height of margin renders the next page before it scrolls in.
                        active: column.y + paper.y + paper.height > pages.contentY - pages.height && column.y + paper.y < pages.contentY + 2 * pages.height
                    }
                }
            }
        }
    }

    // Where the keys go: inside the edge, as the pane leaves no room around it.
    FocusRing {
        objectName: "previewFocusRing"
        anchors.margins: 0
        radius: 0
        shown: root.activeFocus
    }
    Label {
        objectName: "pageIndicator"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        visible: root.currentPage > 0
        text: "Page " + root.currentPage + " of " + pdfDocument.pageCount
        color: "white"
        font.pixelSize: Style.captionSize
        font.weight: Font.Medium
        leftPadding: 10
        rightPadding: 10
        topPadding: 4
        bottomPadding: 4
        Accessible.role: Accessible.StaticText
        background: Rectangle {
            radius: height / 2
            color: Qt.rgba(0, 0, 0, 0.55)
        }
    }
}
