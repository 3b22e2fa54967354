import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The installer's output as it arrives: monospaced, selectable, the newest text kept in view.
// The text is drawn page by page (LogPages), so only what is in sight is laid out.
Rectangle {
    id: card

    required property EngineInstaller installer

    visible: installer.isRunning || !pages.isEmpty
    implicitHeight: 150
    radius: 12
    color: Style.withOpacity(Style.primaryText, 0.05)

    LogPages {
        id: pages
        objectName: "logPages"
        installer: card.installer
    }

    ListView {
        id: list
        objectName: "logScroller"
        anchors.fill: parent
        clip: true
        model: pages
        boundsBehavior: Flickable.StopAtBounds
        verticalLayoutDirection: ListView.BottomToTop
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AlwaysOn
        }

        delegate: TextEdit {
            required property string pageText
            required property int index

            objectName: "logPage"
            width: ListView.view.width
            // The text's padding: the newest page is at the bottom, the oldest at the top.
            leftPadding: 10
            rightPadding: 10
            bottomPadding: index === 0 ? 10 : 0
            topPadding: index === ListView.view.count - 1 ? 10 : 0
            text: pageText
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            font.family: "monospace"
            font.pixelSize: 10
            color: Style.secondaryText
            selectedTextColor: "white"
            selectionColor: Style.accentTop
        }

        // Laid out from the bottom up with the newest page first, the view keeps the newest
        // line at its bottom edge as pages grow and arrive.
        // Once per turn of the event loop, however many appends it brought.
        onCountChanged: Qt.callLater(list.positionViewAtBeginning)
        Connections {
            target: pages
            function onDataChanged() { Qt.callLater(list.positionViewAtBeginning) }
        }
    }
    Text {
        objectName: "logPlaceholder"
        visible: pages.isEmpty
        padding: 10
        text: "Preparing…"
        font.family: "monospace"
        font.pixelSize: 10
        color: Style.secondaryText
    }
}
