import QtQuick
import QtQuick.Layouts
import Velmarto

// The segmented switch between signing in and creating an account. Each segment is a button of
// its own, so Tab stops on each and Space or Return picks it.
SegmentTrack {
    id: picker

    required property bool isCreating

    signal picked(bool creating)

    component Segment: KeyboardButton {
        id: segment

        Layout.fillWidth: true
        Layout.preferredWidth: 1
        topPadding: 5
        bottomPadding: 5
        font.pixelSize: Style.smallSize
        font.weight: Font.Medium
        // A click leaves the keys in the field the user was typing in; Tab still stops here.
        focusPolicy: Qt.TabFocus

        contentItem: Text {
            text: segment.text
            font: segment.font
            color: Style.primaryText
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        // The chosen segment is raised: white on a light window, a lighter wash on a dark one.
        background: Rectangle {
            radius: 6
            color: !segment.checked ? "transparent" : Style.windowBackground.hslLightness < 0.5 ? Style.withOpacity(Style.primaryText, 0.16) : "white"
            border.width: segment.checked ? 1 : 0
            border.color: Style.withOpacity(Style.primaryText, 0.08)

            FocusRing {
                shown: segment.visualFocus
                cornerRadius: 6
            }
        }
    }

    Segment {
        objectName: "signInSegment"
        text: "Sign In"
        checked: !picker.isCreating
        onClicked: picker.picked(false)
    }
    Segment {
        objectName: "createAccountSegment"
        text: "Create Account"
        checked: picker.isCreating
        onClicked: picker.picked(true)
    }
}
