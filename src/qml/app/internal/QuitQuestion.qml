import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Velmarto

// Asked before quitting while a conversion runs, since quitting stops it. Escape keeps it running.
Popup {
    id: question

    required property RootViewModel model
    property bool quits: false

    objectName: "quitQuestion"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: 380
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 24

    background: Rectangle {
        radius: 12
        color: Style.windowBackground
        border.width: 1
        border.color: Style.withOpacity(Style.primaryText, 0.12)
    }

    // Opened from the model, never bound: closing by Escape would end a binding.
    Connections {
        function onIsAskingToQuitChanged() {
            if (question.model.isAskingToQuit)
                question.open();
        }

        target: question.model
    }

    onAboutToShow: {
        quits = false;
        keepButton.forceActiveFocus(Qt.TabFocusReason);
    }
    onClosed: question.model.answerQuit(quits)

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        Text {
            Layout.fillWidth: true
            text: "Quit while converting?"
            font.pixelSize: Style.headingSize
            font.weight: Font.DemiBold
            color: Style.primaryText
            wrapMode: Text.Wrap
        }
        Text {
            Layout.fillWidth: true
            text: "A conversion is still running. Quitting stops it, and its score is lost."
            font.pixelSize: Style.bodySize
            color: Style.primaryText
            wrapMode: Text.Wrap
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Layout.topMargin: 6
            spacing: 10

            SoftButton {
                objectName: "quitAnywayButton"
                text: "Quit"
                onClicked: {
                    question.quits = true;
                    question.close();
                }
            }
            PrimaryButton {
                id: keepButton
                objectName: "keepConvertingButton"
                text: "Keep Converting"
                leftPadding: 16
                rightPadding: 16
                onClicked: question.close()
            }
        }
    }
}
