import QtQuick
import QtQuick.Layouts
import Velmarto

// The install button until every engine is installed, then the way on.
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
        visible: actions.allReady
        text: actions.success ? "Start Using Velmarto" : "Done"
        symbol: "checkmark"
        onClicked: actions.ready()
    }
    PrimaryButton {
        objectName: "installButton"
        Layout.fillWidth: true
        visible: !actions.allReady
        enabled: !actions.isRunning
        busy: actions.isRunning
        text: actions.isRunning ? "Setting up engines…" : actions.finished ? "Retry Install" : "Install Engines"
        symbol: "arrow.down.circle.fill"
        onClicked: actions.installRequested()
    }
}
