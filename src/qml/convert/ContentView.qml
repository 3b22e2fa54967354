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
    Shortcut {
        sequence: "Esc"
        enabled: root.visible && root.model.isConverting
        onActivated: root.model.cancel()
    }
    Binding {
        target: root.model
        property: "isWindowActive"
        value: root.Window.active
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
            previewURL: root.model.previewURL
            hasPreview: root.model.hasPreview
            isDraft: root.model.isDraft
            pdfFileName: root.model.pdfFileName
            isConverting: root.model.isConverting
            hasError: root.model.hasError
            stageNames: root.model.stageNames
            stageIndex: root.model.stageIndex
            elapsedText: root.model.elapsedText
            onCancelRequested: root.model.cancel()
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
