import QtQuick
import Velmarto

// The soft shadow of the rounded shape that fills the parent, dropped by offset.
SoftShadow {
    required property real offset

    anchors.fill: parent
    anchors.margins: -blurRadius
    anchors.topMargin: -blurRadius + offset
    anchors.bottomMargin: -blurRadius - offset
}
