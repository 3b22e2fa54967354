import QtQuick
import QtQuick.Layouts
import Velmarto

// One section of the Settings tab: a titled, softly outlined card whose children are stacked
// below the title, 12 apart.
Card {
    id: card

    required property string title
    required property string systemImage
    default property alias content: column.data

    Layout.fillWidth: true
    implicitHeight: column.implicitHeight + 32

    ColumnLayout {
        id: column

        x: 16
        y: 16
        width: card.width - 32
        spacing: 12

        RowLayout {
            spacing: 8

            SymbolIcon {
                implicitWidth: 14
                implicitHeight: 14
                symbol: card.systemImage
                gradient: Style.accentGradient
            }
            Text {
                text: card.title
                font.pixelSize: Style.bodySize
                font.weight: Font.DemiBold
                color: Style.primaryText
            }
        }
    }
}
