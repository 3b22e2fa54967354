import QtQuick
import QtQuick.Layouts
import Velmarto

// The sunken track of a segmented control; the segments put inside sit side by side on it.
Rectangle {
    default property alias segments: row.data

    implicitWidth: row.implicitWidth + 4
    implicitHeight: row.implicitHeight + 4
    radius: 8
    color: Style.withOpacity(Style.primaryText, 0.06)

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.margins: 2
        spacing: 2
    }
}
