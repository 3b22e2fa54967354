import QtQuick
import QtQuick.Layouts
import Velmarto

// The install button and the skip link, or, once everything is installed, the way on.
ColumnLayout {
    id: actions

    required property bool isRunning
    required property bool finished
    required property bool success
    required property bool allReady

    signal installRequested
    signal ready

    spacing: 22

    PrimaryButton {
        objectName: "startButton"
        Layout.fillWidth: true
        visible: actions.success
        text: "Start Using Velmarto"
        symbol: "checkmark"
        onClicked: actions.ready()
    }
    PrimaryButton {
        objectName: "installButton"
        Layout.fillWidth: true
        visible: !actions.success
        enabled: !actions.isRunning
        busy: actions.isRunning
        text: actions.isRunning ? "Setting up engines…" : actions.finished ? "Retry Install" : "Install Engines"
        symbol: "arrow.down.circle.fill"
        onClicked: actions.installRequested()
    }
    LinkButton {
        objectName: "skipLink"
        Layout.alignment: Qt.AlignHCenter
        visible: !actions.success && actions.allReady
        text: "Skip — engines already installed"
        font.pixelSize: Style.smallSize
        onClicked: actions.ready()
    }
}
