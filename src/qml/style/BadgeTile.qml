import QtQuick
import Velmarto

// A white symbol on a rounded tile in the accent gradient, casting a soft shadow: small beside a
// header's title, large above a screen's welcome.
Item {
    id: tile

    required property string symbol
    property bool large: false
    property real symbolSize: large ? 38 : 22

    implicitWidth: large ? 84 : 44
    implicitHeight: implicitWidth

    OffsetShadow {
        offset: tile.large ? 6 : 3
        blurRadius: tile.large ? 16 : 8
        radius: fill.radius
        color: Style.accentBottom
        opacity: tile.large ? 0.45 : 0.4
    }
    GradientRectangle {
        id: fill
        anchors.fill: parent
        radius: tile.large ? 22 : 12
        gradient: Style.accentGradient
    }
    SymbolIcon {
        anchors.centerIn: parent
        width: tile.symbolSize
        height: tile.symbolSize
        symbol: tile.symbol
        color: "white"
    }
}
