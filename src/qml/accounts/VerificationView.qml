import QtQuick
import QtQuick.Layouts
import Velmarto

// The code entry of every flow: the code, a new password when the flow sets one, how the code
// was delivered, and the session's last message. Every new flow starts with empty fields, and
// the code field takes the keys whenever the entry appears.
FocusScope {
    id: view

    required property Session session

    implicitHeight: column.implicitHeight
    onVisibleChanged: {
        if (visible)
            codeField.forceActiveFocus();
    }

    VerificationViewModel {
        id: verification
        session: view.session
    }

    ColumnLayout {
        id: column

        width: parent.width
        spacing: 22

        Hero {
            Layout.fillWidth: true
            symbol: "envelope.badge"
            title: view.session.pendingFlow ? view.session.pendingFlow.title : "Verify your email"
            subtitle: "Enter the 6-digit code we emailed to " + (view.session.pendingFlow ? view.session.pendingFlow.email : "your address") + "."
        }

        AuthCard {
            Layout.fillWidth: true

            AuthField {
                id: codeField
                objectName: "codeField"
                Layout.fillWidth: true
                focus: true
                title: "Verification code"
                text: verification.code
                onEdited: text => verification.code = text
                onSubmitted: verification.submit()
            }
            AuthField {
                objectName: "newPasswordField"
                Layout.fillWidth: true
                visible: verification.needsNewPassword
                title: "New password"
                secure: true
                text: verification.newPassword
                onEdited: text => verification.newPassword = text
                onSubmitted: verification.submit()
            }
            AuthField {
                objectName: "confirmNewPasswordField"
                Layout.fillWidth: true
                visible: verification.needsNewPassword
                title: "Confirm new password"
                secure: true
                text: verification.confirm
                onEdited: text => verification.confirm = text
                onSubmitted: verification.submit()
            }
            DeliveryStatus {
                Layout.fillWidth: true
                session: view.session
            }
            FormError {
                objectName: "verificationError"
                Layout.fillWidth: true
                text: view.session.lastError
            }
            PrimaryButton {
                objectName: "verifyButton"
                Layout.fillWidth: true
                text: "Verify"
                symbol: "checkmark.circle.fill"
                onClicked: verification.submit()
                Keys.onReturnPressed: verification.submit()
                Keys.onEnterPressed: verification.submit()
            }
            Item {
                Layout.fillWidth: true
                implicitHeight: resend.implicitHeight

                LinkButton {
                    id: resend
                    objectName: "resendLink"
                    anchors.left: parent.left
                    text: "Resend code"
                    onClicked: view.session.resendCode()
                }
                LinkButton {
                    objectName: "cancelLink"
                    anchors.right: parent.right
                    text: "Cancel"
                    onClicked: view.session.cancelFlow()
                }
            }
        }
    }
}
