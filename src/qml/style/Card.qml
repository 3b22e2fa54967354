import QtQuick
import Velmarto

// A softly outlined panel, a shade apart from the ground it lies on, for one group of content.
Rectangle {
    radius: 14
    color: Style.withOpacity(Style.primaryText, 0.04)
    border.width: 1
    border.color: Style.withOpacity(Style.primaryText, 0.07)
}
