import QtQuick
import Velmarto

// The window background of the account screens, washed with the accent from the top down.
Rectangle {
    color: Style.windowBackground

    Rectangle {
        anchors.fill: parent
        radius: parent.radius
        gradient: Gradient {
            GradientStop {
                position: 0.0
                color: Style.withOpacity(Style.accentTop, 0.12)
            }
            GradientStop {
                position: 1.0
                color: Style.withOpacity(Style.accentTop, 0.0)
            }
        }
    }
}
