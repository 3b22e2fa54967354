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

    background: Rectangle {
        radius: 12
        color: Style.windowBackground
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.12)
    }

    Loader {
        id: screen

        anchors.fill: parent
        anchors.margins: 1
        clip: true
        focus: true
    }

    // Opened and closed from the model, never bound: closing by Escape would end a binding.
    Connections {
        function onShowSetupSheetChanged() {
            if (sheet.model.showSetupSheet)
                sheet.open();
            else
                sheet.close();
        }

        target: sheet.model
    }

    onAboutToShow: screen.setSource("SetupScreen.qml", {
            "model": sheet.model
        })
    onClosed: {
        screen.source = "";
        sheet.model.showSetupSheet = false;
    }
}
