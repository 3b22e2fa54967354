import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// The whole-window screen while nobody is signed in. It offers signing in and creating an
// account, and turns into the code entry in place while the session has a flow pending; the
// typed texts stay for when the form comes back.
AccentWash {
    id: root

    required property Session session
    readonly property bool hasFlow: !!session.pendingFlow

    implicitWidth: 600
    implicitHeight: 560

    AuthViewModel {
        id: authModel
        session: root.session
    }

    FocusScrollView {
        id: scroll

        anchors.fill: parent
        focus: true
        contentWidth: availableWidth
        contentHeight: page.height
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

        Item {
            id: page

            width: scroll.availableWidth
            height: (root.hasFlow ? codeEntry.implicitHeight : form.implicitHeight) + 2 * form.y

            // Padded by 32 inside a column at most 460 wide, centred in the window.
            AuthForm {
                id: form

                x: (page.width - width) / 2
                y: 32
                width: Math.min(page.width, 460) - 2 * y
                visible: !root.hasFlow
                focus: visible
                model: authModel
            }
            VerificationView {
                id: codeEntry

                x: form.x
                y: form.y
                width: form.width
                visible: root.hasFlow
                focus: visible
                session: root.session
            }
        }
    }
}
