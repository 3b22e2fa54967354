import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The installer's output as it arrives: monospaced, selectable, the newest text kept in view.
// The text is drawn page by page (LogPages), so only what is in sight is laid out.
Rectangle {
    id: card

    required property EngineInstaller installer

    visible: installer.isRunning || !log.isEmpty
    implicitHeight: 150
    radius: 12
    color: Style.withOpacity(Style.primaryText, 0.05)

    InstallerLog {
        id: log
        objectName: "installerLog"
        installer: card.installer
        onTextAdded: followEnd.restart()
    }
    // Once per turn of the event loop, however many appends it brought: going straight to the
    // end lays out only the pages that end up in sight.
    Timer {
        id: followEnd
        interval: 0
        onTriggered: list.positionViewAtEnd()
    }

    ListView {
        id: list
        objectName: "logScroller"
        anchors.fill: parent
        clip: true
        model: log.pages
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: scrollBar
        // Pages laid out for the first time may turn out taller than estimated after the jump;
        // the end is sought again until the height settles.
        onContentHeightChanged: followEnd.restart()

        delegate: TextEdit {
            required property string pageText
            required property int index

            objectName: "logPage"
            width: ListView.view.width
            // The text's padding: the first page carries the top, the newest the bottom.
            leftPadding: 10
            rightPadding: 10
            topPadding: index === 0 ? 10 : 0
            bottomPadding: index === ListView.view.count - 1 ? 10 : 0
            text: pageText
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            font.family: "monospace"
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
            selectedTextColor: "white"
            selectionColor: Style.accentTop
        }
    }
    ScrollBar {
        id: scrollBar

        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        policy: ScrollBar.AlwaysOn
    }
    Text {
        objectName: "logPlaceholder"
        visible: log.isEmpty
        padding: 10
        text: "Preparing…"
        font.family: "monospace"
        font.pixelSize: Style.captionSize
        color: Style.secondaryText
    }
}
