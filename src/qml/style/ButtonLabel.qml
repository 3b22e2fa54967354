import QtQuick
import Velmarto

// A button's symbol and text, centred in whatever room the button gives them. Items declared
// inside (a spinner, say) go before the symbol; the row leaves no gap for hidden ones.
Item {
    id: label

    required property string text
    required property font font
    required property string symbol
    required property color color
    property bool symbolShown: true
    property real symbolSize: 16
    property real spacing: 8
    default property alias leading: leadingItems.data

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    Row {
        id: row
        anchors.centerIn: parent
        spacing: label.spacing

        Row {
            id: leadingItems
            anchors.verticalCenter: parent.verticalCenter
        }
        SymbolIcon {
            visible: label.symbolShown && label.symbol !== ""
            symbol: label.symbol
            color: label.color
            width: label.symbolSize
            height: label.symbolSize
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: label.text
            font: label.font
            color: label.color
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
