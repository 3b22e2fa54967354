import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The status line, with a spinner while converting, and the engines' own words when a
// conversion fails.
ColumnLayout {
    id: area

    required property bool isConverting
    required property string statusMessage
    required property bool hasError
    required property string errorText
    required property bool hasSavedCopy
    required property string showSavedCopyLabel

    signal showSavedCopyRequested

    spacing: Style.sectionSpacing

    Shortcut {
        sequences: [StandardKey.Copy] // qmllint disable unqualified
        enabled: errorEdit.selectedText !== ""
        onActivated: errorEdit.copy()
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        BusyIndicator {
            objectName: "statusSpinner"
            visible: area.isConverting
            running: area.isConverting
            padding: 0
            implicitWidth: 14
            implicitHeight: 14
            palette.dark: Style.secondaryText
        }
        Text {
            objectName: "statusLine"
            Layout.fillWidth: true
            text: area.statusMessage
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: Style.captionSize
            color: Style.secondaryText
            // Screen readers announce a status bar's changes.
            Accessible.role: Accessible.StatusBar
            Accessible.name: area.statusMessage
        }
    }
    LinkButton {
        objectName: "showSavedCopyLink"
        visible: area.hasSavedCopy
        text: area.showSavedCopyLabel
        onClicked: area.showSavedCopyRequested()
    }

    Rectangle {
        objectName: "errorBox"
        Layout.fillWidth: true
        Layout.preferredHeight: Math.min(150, errorEdit.implicitHeight)
        visible: area.hasError
        radius: 10
        color: Style.withOpacity(Style.error, 0.07)

        ScrollView {
            id: errorScroll
            anchors.fill: parent
            clip: true
            contentWidth: availableWidth
            ScrollBar.vertical.objectName: "errorScrollBar"
            ScrollBar.vertical.policy: ScrollBar.vertical.size < 1.0 ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff

            TextEdit {
                id: errorEdit
                objectName: "errorText"
                width: errorScroll.availableWidth
                padding: 10
                text: area.errorText
                textFormat: TextEdit.PlainText
                readOnly: true
                selectByMouse: true
                // Selecting text must not take the keyboard from the window's shortcuts; the
                // selection stays for the copy shortcut below.
                activeFocusOnPress: false
                persistentSelection: true
                wrapMode: TextEdit.Wrap
                font.family: "monospace"
                font.pixelSize: Style.captionSize
                color: Style.error
                selectionColor: Style.withOpacity(Style.accentTop, 0.35)
            }
        }
    }
}
