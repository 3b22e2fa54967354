import QtQuick
import QtQuick.Controls.Basic
import Velmarto

// An on/off switch with its label on the leading side, tinted with the accent when on.
Switch {
    id: control

    padding: 0
    spacing: 12
    font.pixelSize: Style.smallSize

    indicator: Rectangle {
        x: control.width - width
        y: (control.height - height) / 2
        implicitWidth: 36
        implicitHeight: 20
        radius: 10
        // Off, the track still keeps 3:1 against the window, and the knob 3:1 against the track.
        color: control.checked ? Style.accentTop : Style.withOpacity(Style.primaryText, 0.5)

        Rectangle {
            x: control.checked ? parent.width - width - 2 : 2
            y: 2
            width: 16
            height: 16
            radius: 8
            color: "white"

            Behavior on x  {
                NumberAnimation {
                    duration: 120
                    easing.type: Easing.OutQuad
                }
            }
        }
        FocusRing {
            shown: control.visualFocus
        }
    }

    contentItem: Text {
        rightPadding: control.indicator.width + control.spacing
        text: control.text
        font: control.font
        color: Style.primaryText
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.WordWrap
    }
}
