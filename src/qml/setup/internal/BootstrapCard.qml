import QtQuick
import QtQuick.Layouts
import Velmarto

// Offered when the installer could not use the package manager: a terminal takes over.
Rectangle {
    id: card

    required property string title
    required property string text
    required property string buttonText

    signal bootstrapRequested

    implicitHeight: content.implicitHeight + 32
    radius: 14
    color: Style.withOpacity(Style.missing, 0.08)

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10

        Row {
            spacing: 6

            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                width: 15
                height: 15
                symbol: "exclamationmark.triangle.fill"
                color: Style.missing
            }
            Text {
                objectName: "bootstrapTitle"
                text: card.title
                font.pixelSize: Style.bodySize
                font.weight: Font.DemiBold
                color: Style.missing
            }
        }
        Text {
            objectName: "bootstrapText"
            Layout.fillWidth: true
            text: card.text
            font.pixelSize: Style.smallSize
            color: Style.secondaryText
            wrapMode: Text.WordWrap
        }
        SoftButton {
            objectName: "bootstrapButton"
            Layout.fillWidth: true
            text: card.buttonText
            symbol: "terminal"
            onClicked: card.bootstrapRequested()
        }
    }
}
