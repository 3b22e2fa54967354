import QtQuick
import Velmarto

// The window's colour with the accent fading in from the top: the ground of a screen or a pane.
Rectangle {
    id: ground

    // The accent's opacity at the top edge.
    property real strength: 0.12

    color: Style.windowBackground

    Rectangle {
        anchors.fill: parent
        radius: ground.radius
        gradient: Gradient {
            GradientStop {
                position: 0.0
                color: Style.withOpacity(Style.accentTop, ground.strength)
            }
            GradientStop {
                position: 1.0
                color: Style.withOpacity(Style.accentTop, 0.0)
            }
        }
    }
}
