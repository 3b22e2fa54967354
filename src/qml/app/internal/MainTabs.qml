import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The tabs of a signed-in window, "Convert" and "Settings", always opening on "Convert", with
// the window's own buttons beside them (the shortcuts, a new window) and the sheets that belong
// over them: the setup screen, a password change's code entry and the shortcuts.
Rectangle {
    id: tabs

    required property RootViewModel model

    color: Style.windowBackground

    Shortcut {
        sequences: ["Ctrl+?", "F1"]
        onActivated: shortcuts.open()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: 46

            TabStrip {
                id: strip

                objectName: "tabStrip"
                anchors.centerIn: parent
                labels: ["Convert", "Settings"]
                symbols: ["music.note", "gearshape"]
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4

                ToolbarButton {
                    objectName: "shortcutsButton"
                    symbol: "keyboard"
                    ToolTip.text: "Keyboard shortcuts (Ctrl+?)"
                    onClicked: shortcuts.open()
                }
                ToolbarButton {
                    objectName: "newWindowButton"
                    symbol: "macwindow.badge.plus"
                    ToolTip.text: "New window (Ctrl+N)"
                    onClicked: tabs.model.openNewWindow()
                }
            }
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 1
                color: Style.withOpacity(Style.primaryText, 0.1)
            }
        }

        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: strip.currentIndex

            ContentView {
                model: tabs.model.contentModel
            }
            SettingsView {
                preferences: tabs.model.preferences
                session: tabs.model.session
                model: tabs.model.settingsModel
                engines: tabs.model.engines
                onEngineSetupRequested: tabs.model.showSetupSheet = true
            }
        }
    }

    SetupSheet {
        model: tabs.model
    }
    VerificationSheet {
        session: tabs.model.session
    }
    ShortcutsSheet {
        id: shortcuts
    }
}
