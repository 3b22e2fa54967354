import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// Saving and revealing the result; fades in once there is one.
ColumnLayout {
    id: section

    required property bool hasResult
    required property bool hasMusicXML

    signal savePDFRequested
    signal saveMusicXMLRequested
    signal revealPDFRequested

    objectName: "exportSection"
    spacing: 8
    opacity: hasResult ? 1.0 : 0.0
    visible: opacity > 0
    Behavior on opacity  {
        NumberAnimation {
            duration: 250
            easing.type: Easing.OutQuad
        }
    }

    SectionCaption {
        text: "EXPORT"
    }
    PrimaryButton {
        objectName: "savePDFButton"
        Layout.fillWidth: true
        text: "Save as PDF"
        symbol: "square.and.arrow.down"
        onClicked: section.savePDFRequested()
        ToolTip.text: "Save a copy of the PDF (Ctrl+S)"
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        SoftButton {
            objectName: "musicXMLButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            visible: section.hasMusicXML
            text: "MusicXML"
            symbol: "doc.text"
            onClicked: section.saveMusicXMLRequested()
            ToolTip.text: "Save a copy of the MusicXML file"
        }
        SoftButton {
            objectName: "revealButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            text: "Reveal"
            symbol: "folder"
            onClicked: section.revealPDFRequested()
            ToolTip.text: "Show the PDF in the file manager"
        }
    }
}
