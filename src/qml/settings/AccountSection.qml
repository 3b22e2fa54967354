import QtQuick
import QtQuick.Layouts
import Velmarto

// Who is signed in, with the two account actions.
ColumnLayout {
    id: section

    required property string email

    signal signOutRequested
    signal changePasswordRequested

    spacing: 12

    RowLayout {
        spacing: 10

        SymbolIcon {
            implicitWidth: 20
            implicitHeight: 20
            symbol: "checkmark.seal.fill"
            color: Style.found
        }
        ColumnLayout {
            spacing: 1

            Text {
                text: "Signed in"
                font.pixelSize: Style.smallSize
                font.weight: Font.DemiBold
                color: Style.primaryText
            }
            Text {
                objectName: "signedInEmail"
                Layout.fillWidth: true
                text: section.email
                textFormat: Text.PlainText
                font.pixelSize: Style.captionSize
                color: Style.secondaryText
                elide: Text.ElideMiddle
            }
        }
        Item {
            Layout.fillWidth: true
        }
        SoftButton {
            objectName: "signOutButton"
            text: "Sign Out"
            onClicked: section.signOutRequested()
        }
    }
    RowLayout {
        spacing: 8

        SoftButton {
            objectName: "changePasswordButton"
            Layout.fillWidth: true
            symbol: "key"
            text: "Change Password…"
            onClicked: section.changePasswordRequested()
        }
        CardCaption {
            text: "We'll email a code to confirm it's you."
        }
    }
}
