import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The segmented switch between signing in and creating an account. Each segment is a button of
// its own, so Tab stops on each and Space or Return picks it.
Rectangle {
    id: picker

    required property bool isCreating

    signal picked(bool creating)

    component Segment: Button {
        id: segment

        Layout.fillWidth: true
        Layout.preferredWidth: 1
        topPadding: 5
        bottomPadding: 5
        font.pixelSize: 12
        font.weight: Font.Medium
        Keys.onReturnPressed: segment.clicked()
        Keys.onEnterPressed: segment.clicked()

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

    implicitHeight: segments.implicitHeight + 4
    radius: 8
    color: Style.withOpacity(Style.primaryText, 0.06)

    RowLayout {
        id: segments

        anchors.fill: parent
        anchors.margins: 2
        spacing: 2

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
}
