import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The engine setup screen: which engines are there, the installer with its live log, the way
// out when the package manager cannot be used, and the way on.
// Its creator gives it `installer`, a new EngineInstaller made for this screen alone and
// released with it, and the application's `engines`, and listens to `ready()`, emitted when the user is done ("Start Using
// Velmarto" or the skip link).
ScrollView {
    id: root

    required property EngineInstaller installer
    required property EngineStatus engines

    signal ready

    implicitWidth: 600
    implicitHeight: 560
    contentWidth: availableWidth
    ScrollBar.vertical.policy: ScrollBar.AlwaysOn

    background: AccentWash {
    }

    Item {
        width: root.availableWidth
        implicitHeight: column.implicitHeight + 64

        ColumnLayout {
            id: column
            objectName: "setupColumn"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 32
            width: Math.min(parent.width, 520) - 64
            spacing: 22

            Hero {
                Layout.fillWidth: true
                title: "Welcome to Velmarto"
                subtitle: "Velmarto needs two free engraving engines to turn your MIDI files into beautiful sheet music. This is a one-time setup."
            }
            SetupChecklist {
                Layout.fillWidth: true
                museScore: root.engines.museScore
                musicxml2ly: root.engines.musicxml2ly
                lilypond: root.engines.lilypond
            }
            BootstrapCard {
                objectName: "bootstrapCard"
                Layout.fillWidth: true
                visible: root.installer.brewMissing
                title: root.installer.bootstrapTitle
                text: root.installer.bootstrapText
                buttonText: root.installer.bootstrapButton
                onBootstrapRequested: root.installer.installHomebrewInTerminal()
            }
            InstallLog {
                objectName: "logCard"
                Layout.fillWidth: true
                installer: root.installer
            }
            SetupActions {
                Layout.fillWidth: true
                isRunning: root.installer.isRunning
                finished: root.installer.finished
                success: root.installer.success
                allReady: root.engines.allReady
                onInstallRequested: root.installer.installMissing()
                onReady: root.ready()
            }
        }
    }
}
