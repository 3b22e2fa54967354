import QtQuick
import QtQuick.Layouts
import Velmarto

// The rounded panel holding the fields and buttons of an account screen. Its children are laid
// out in a centred column, spaced 14 apart.
Card {
    id: card

    default property alias content: column.data

    implicitHeight: column.implicitHeight + 2 * column.anchors.margins
    radius: 16

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.margins: 18
        spacing: 14
    }
}
