import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The engine setup screen: which engines are there, the way out when the package manager cannot
// be used, the install button or the way on, and the installer's live log, last so that the
// buttons stay in sight at the window's default size.
// Its creator gives it `installer`, a new EngineInstaller made for this screen alone and
// released with it, and the application's `engines`, and listens to `ready()`, emitted when the
// user is done ("Start Using Velmarto" or "Done").
FocusScrollView {
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

            // Once a run has started, its outcome and the buttons need the room more.
            Hero {
                Layout.fillWidth: true
                visible: !root.installer.isRunning && !root.installer.finished
                title: "Welcome to Velmarto"
                subtitle: root.engines.allReady ? "MuseScore and LilyPond are installed. Velmarto is ready to turn your MIDI files into sheet music." : "Velmarto needs two free engraving engines to turn your MIDI files into beautiful sheet music. This is a one-time setup."
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
                visible: root.installer.brewMissing && !root.engines.allReady
                title: root.installer.bootstrapTitle
                text: root.installer.bootstrapText
                buttonText: root.installer.bootstrapButton
                command: root.installer.manualCommand
                terminalProblem: root.installer.terminalProblem
                onBootstrapRequested: root.installer.openInstallTerminal()
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
            InstallLog {
                objectName: "logCard"
                Layout.fillWidth: true
                installer: root.installer
            }
        }
    }
}
