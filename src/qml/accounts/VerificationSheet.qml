import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Velmarto

// The code entry of a password change, as a modal sheet over the window. It follows the
// session's presentingChangePassword both ways: the session opens it and closes it after a
// successful change or a Cancel, and Escape asks the session to stop presenting it.
Popup {
    id: sheet

    required property Session session

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: 520
    height: Math.min(parent ? parent.height - 40 : 520, Math.max(520, page.height))
    modal: true
    focus: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    visible: session.presentingChangePassword

    background: Item {
        OffsetShadow {
            offset: 8
            blurRadius: 24
            radius: 12
            color: "black"
            opacity: 0.3
        }
        AccentWash {
            anchors.fill: parent
            radius: 12
        }
    }

    FocusScrollView {
        id: scroll

        anchors.fill: parent
        focus: true
        clip: true
        contentWidth: availableWidth
        contentHeight: page.height
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
        Keys.onEscapePressed: sheet.session.presentingChangePassword = false

        Item {
            id: page

            width: scroll.availableWidth
            height: entry.implicitHeight + 2 * entry.y

            VerificationView {
                id: entry

                x: (page.width - width) / 2
                y: 32
                width: Math.min(page.width, 460) - 2 * y
                focus: true
                session: sheet.session
            }
        }
    }
}
