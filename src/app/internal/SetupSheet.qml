pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Velmarto

// The setup screen over the tabs, while the model asks for it. Each opening builds a new screen;
// "Start Using Velmarto" or the skip link closes it, and so does Escape, so that a failed
// installation never traps the window.
Popup {
    id: sheet

    required property RootViewModel model

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(parent ? parent.width - 80 : 720, 720)
    // Clear of the tab strip, which stays in sight above it.
    height: parent ? parent.height - 100 : 560
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 0
    visible: model.showSetupSheet
    onClosed: sheet.model.showSetupSheet = false

    background: Rectangle {
        radius: 12
        color: Style.windowBackground
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.12)
    }

    Loader {
        anchors.fill: parent
        anchors.margins: 1
        clip: true
        focus: true
        active: sheet.model.showSetupSheet
        sourceComponent: SetupScreen {
            model: sheet.model
            onReady: sheet.model.showSetupSheet = false
        }
    }
}
