import QtQuick
import QtQuick.Layouts
import Velmarto

// Sign in or create an account: the hero and the form card. Return in any field submits, and
// the email field takes the keys whenever the form appears.
FocusScope {
    id: form

    required property AuthViewModel model

    implicitHeight: column.implicitHeight
    onVisibleChanged: {
        if (visible)
            emailField.forceActiveFocus();
    }

    ColumnLayout {
        id: column

        width: parent.width
        spacing: 22

        Hero {
            Layout.fillWidth: true
            title: form.model.isCreating ? "Create your account" : "Sign in to Velmarto"
            subtitle: "Turn MIDI files into beautifully engraved sheet music."
        }

        AuthCard {
            Layout.fillWidth: true

            ModePicker {
                Layout.fillWidth: true
                isCreating: form.model.isCreating
                onPicked: creating => form.model.isCreating = creating
            }
            AuthField {
                id: emailField
                objectName: "emailField"
                Layout.fillWidth: true
                focus: true
                title: "Email"
                text: form.model.email
                onEdited: text => form.model.email = text
                onSubmitted: form.model.submit()
            }
            AuthField {
                objectName: "passwordField"
                Layout.fillWidth: true
                title: "Password"
                secure: true
                text: form.model.password
                onEdited: text => form.model.password = text
                onSubmitted: form.model.submit()
            }
            AuthField {
                objectName: "confirmField"
                Layout.fillWidth: true
                visible: form.model.isCreating
                title: "Confirm password"
                secure: true
                text: form.model.confirm
                onEdited: text => form.model.confirm = text
                onSubmitted: form.model.submit()
            }
            FormError {
                objectName: "formError"
                Layout.fillWidth: true
                text: form.model.error
            }
            PrimaryButton {
                objectName: "submitButton"
                Layout.fillWidth: true
                text: form.model.isCreating ? "Create Account" : "Sign In"
                symbol: form.model.isCreating ? "person.crop.circle.badge.plus" : "arrow.right.circle.fill"
                onClicked: form.model.submit()
                Keys.onReturnPressed: form.model.submit()
                Keys.onEnterPressed: form.model.submit()
            }
            LinkButton {
                objectName: "forgotLink"
                Layout.alignment: Qt.AlignHCenter
                visible: !form.model.isCreating
                text: "Forgot password?"
                onClicked: form.model.forgot()
            }
        }
    }
}
