import QtQuick
import QtQuick.Layouts
import Velmarto

// The tabs of a signed-in window, "Convert" and "Settings", always opening on "Convert", with
// the sheets that belong over them: the setup screen and a password change's code entry.
Rectangle {
    id: tabs

    required property RootViewModel model

    color: Style.windowBackground

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
}
