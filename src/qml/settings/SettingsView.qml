import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The Settings tab. It keeps nothing of its own: every value comes from the shared preferences,
// the window's session or the engine status, and every control writes straight through.
FocusScrollView {
    id: root

    required property Preferences preferences
    required property Session session
    required property SettingsViewModel model
    required property EngineStatus engines

    // The window answers by presenting the engine setup as a sheet.
    signal engineSetupRequested

    contentWidth: availableWidth
    contentHeight: page.height
    ScrollBar.vertical.policy: ScrollBar.AlwaysOn
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

    background: AccentWash {
        strength: 0.08
    }

    Item {
        id: page

        readonly property real paddedWidth: Math.min(560, root.availableWidth)

        width: root.availableWidth
        height: column.implicitHeight + 44

        ColumnLayout {
            id: column

            x: (page.width - page.paddedWidth) / 2 + 22
            y: 22
            width: page.paddedWidth - 44
            spacing: 16

            BadgeHeader {
                Layout.fillWidth: true
                symbol: "gearshape.fill"
                symbolSize: 20
                title: "Settings"
                subtitle: "Preferences are saved automatically"
            }
            SettingCard {
                objectName: "accountCard"
                title: "Account"
                systemImage: "person.crop.circle"

                AccountSection {
                    Layout.fillWidth: true
                    email: root.session.currentEmail
                    onSignOutRequested: root.session.signOut()
                    onChangePasswordRequested: root.session.beginChangePassword()
                }
            }
            SettingCard {
                title: "Appearance"
                systemImage: "circle.lefthalf.filled"

                SegmentedPicker {
                    objectName: "appearancePicker"
                    Layout.fillWidth: true
                    titles: ["System", "Light", "Dark"]
                    values: ["system", "light", "dark"]
                    value: root.preferences.appearance
                    onPicked: chosen => root.preferences.appearance = chosen
                }
                CardCaption {
                    text: root.model.appearanceCaption
                }
            }
            SettingCard {
                title: "Default Quality"
                systemImage: "wand.and.stars"

                SegmentedPicker {
                    objectName: "defaultEnginePicker"
                    Layout.fillWidth: true
                    titles: ["Best  (MuseScore + LilyPond)", "Fast  (MuseScore only)"]
                    values: ["both", "fast"]
                    value: root.preferences.defaultEngine
                    onPicked: chosen => root.preferences.defaultEngine = chosen
                }
                CardCaption {
                    text: "The quality preset selected when the app opens."
                }
            }
            SettingCard {
                title: "Paper Size"
                systemImage: "doc.plaintext"

                SegmentedPicker {
                    objectName: "paperSizePicker"
                    Layout.fillWidth: true
                    titles: ["US Letter", "A4"]
                    values: ["letter", "a4"]
                    value: root.preferences.paperSize
                    onPicked: chosen => root.preferences.paperSize = chosen
                }
                CardCaption {
                    text: "Page size used by the LilyPond engraver."
                }
            }
            SettingCard {
                title: "After Converting"
                systemImage: "folder"

                AccentSwitch {
                    objectName: "revealSwitch"
                    Layout.fillWidth: true
                    text: root.model.revealAfterConvertLabel
                    checked: root.preferences.revealAfterConvert
                    onToggled: root.preferences.revealAfterConvert = checked
                }
            }
            SettingCard {
                title: "Engines"
                systemImage: "cpu"

                CardCaption {
                    text: "Re-run the one-time setup to install or repair the MuseScore and LilyPond engines."
                }
                SoftButton {
                    objectName: "openEngineSetupButton"
                    Layout.fillWidth: true
                    symbol: "arrow.down.circle"
                    text: "Open Engine Setup…"
                    onClicked: root.engineSetupRequested()
                }
            }
            SettingCard {
                title: "About"
                systemImage: "info.circle"

                AboutSection {
                    Layout.fillWidth: true
                    museScoreFound: root.engines.museScore
                    musicxml2lyFound: root.engines.musicxml2ly
                    lilypondFound: root.engines.lilypond
                }
            }
            Item {
                implicitHeight: 4
            }
        }
    }
}
