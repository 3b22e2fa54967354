import QtQuick
import QtQuick.Layouts
import Velmarto

// The gear badge with the tab's title and the reassurance that nothing needs saving.
RowLayout {
    spacing: 12

    Item {
        implicitWidth: 44
        implicitHeight: 44

        SoftShadow {
            anchors.fill: parent
            anchors.margins: -blurRadius
            anchors.topMargin: -blurRadius + 3
            anchors.bottomMargin: -blurRadius - 3
            blurRadius: 8
            radius: 12
            color: Style.accentBottom
            opacity: 0.4
        }
        GradientRectangle {
            anchors.fill: parent
            radius: 12
            gradient: Style.accentGradient
        }
        SymbolIcon {
            anchors.centerIn: parent
            width: 20
            height: 20
            symbol: "gearshape.fill"
            color: "white"
        }
    }
    ColumnLayout {
        spacing: 2

        Text {
            text: "Settings"
            font.pixelSize: 17
            font.bold: true
            color: Style.primaryText
        }
        Text {
            text: "Preferences are saved automatically"
            font.pixelSize: 11
            color: Style.secondaryText
        }
    }
    Item {
        Layout.fillWidth: true
    }
}
