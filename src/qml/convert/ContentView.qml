import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The Convert tab: the controls in a sidebar on the left, the engraved score on the right.
Item {
    id: root

    required property ContentViewModel model

    implicitWidth: 860
    implicitHeight: 600

    Component.onCompleted: root.model.appear()
    onVisibleChanged: {
        if (visible)
            root.model.appear();
    }

    // The shortcuts belong to the tab: a window's shortcut fires wherever the window has the keys,
    // so each waits until the tab is the one showing.
    // The linter of Qt 6.4 cannot resolve StandardKey, which QtQuick exports as a value type.
    Shortcut {
        sequences: [StandardKey.Open] // qmllint disable unqualified
        enabled: root.visible
        onActivated: root.model.chooseFile()
    }
    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        enabled: root.visible && root.model.canConvert
        onActivated: root.model.convert()
    }
    Shortcut {
        sequences: [StandardKey.Save] // qmllint disable unqualified
        enabled: root.visible && root.model.hasResult
        onActivated: root.model.savePDF()
    }

    // Every item inside is one of its panes; the dialogs stay outside.
    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal

        // The window's own colour under everything, so the sidebar's fading tint and the text
        // drawn in the palette's colours stay readable under a dark palette too.
        background: Rectangle {
            color: Style.windowBackground
        }

        handle: Item {
            implicitWidth: 5

            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 1
                height: parent.height
                color: Style.withOpacity(Style.primaryText, 0.12)
            }
            HoverHandler {
                cursorShape: Qt.SplitHCursor
            }
        }

        Sidebar {
            SplitView.minimumWidth: 320
            SplitView.preferredWidth: 360
            SplitView.maximumWidth: 440
            model: root.model
        }
        ScorePane {
            SplitView.minimumWidth: 460
            SplitView.fillWidth: true
            hasResult: root.model.hasResult
            pdfURL: root.model.pdfURL
            pdfFileName: root.model.pdfFileName
            onDropped: drop => {
                if (root.model.handleDrop(drop.urls))
                    drop.acceptProposedAction();
            }
        }
    }
    FileDialogs {
        model: root.model
    }
}
