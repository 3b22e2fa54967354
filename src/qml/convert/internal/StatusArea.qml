import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The status line, with a spinner while converting, and what went wrong when a conversion fails.
ColumnLayout {
    id: area

    required property bool isConverting
    required property string statusMessage
    required property bool hasError
    required property string errorStageLine
    required property string errorCause
    required property string errorText
    required property bool hasSavedCopy
    required property string showSavedCopyLabel

    signal showSavedCopyRequested

    // Each new failure starts with its details folded away.
    property bool showsDetails: false

    onErrorTextChanged: showsDetails = false
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

    // What failed and, when known, why, in the window's own text colours; the engines' words
    // wait behind "Show details", where Tab reaches them to select and copy.
    Rectangle {
        objectName: "errorBox"
        Layout.fillWidth: true
        Layout.preferredHeight: errorColumn.implicitHeight + 20
        visible: area.hasError
        radius: 10
        color: Style.withOpacity(Style.error, 0.07)
        border.width: 1
        border.color: Style.withOpacity(Style.error, 0.4)

        ColumnLayout {
            id: errorColumn

            x: 10
            y: 10
            width: parent.width - 20
            spacing: 6

            RowLayout {
                Layout.fillWidth: true
                spacing: 6

                SymbolIcon {
                    Layout.alignment: Qt.AlignTop
                    implicitWidth: 14
                    implicitHeight: 14
                    symbol: "exclamationmark.triangle.fill"
                    color: Style.error
                }
                Text {
                    objectName: "errorStageLine"
                    Layout.fillWidth: true
                    text: area.errorStageLine
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font.pixelSize: Style.smallSize
                    font.weight: Font.DemiBold
                    color: Style.primaryText
                }
            }
            Text {
                objectName: "errorCause"
                Layout.fillWidth: true
                visible: text !== ""
                text: area.errorCause
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: Style.smallSize
                color: Style.primaryText
            }
            RowLayout {
                spacing: 12

                LinkButton {
                    objectName: "errorDetailsLink"
                    text: area.showsDetails ? "Hide details" : "Show details"
                    onClicked: area.showsDetails = !area.showsDetails
                }
                LinkButton {
                    objectName: "copyDetailsLink"
                    visible: area.showsDetails
                    text: "Copy details"
                    onClicked: {
                        errorEdit.selectAll();
                        errorEdit.copy();
                        errorEdit.deselect();
                    }
                }
            }
            Rectangle {
                objectName: "errorDetails"
                Layout.fillWidth: true
                Layout.preferredHeight: Math.min(150, errorEdit.implicitHeight)
                visible: area.showsDetails
                radius: 6
                color: Style.withOpacity(Style.windowBackground, 0.6)

                FocusRing {
                    shown: errorEdit.activeFocus
                    cornerRadius: 6
                }
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
                        padding: 8
                        text: area.errorText
                        textFormat: TextEdit.PlainText
                        readOnly: true
                        selectByMouse: true
                        selectByKeyboard: true
                        // Tab reaches the text for the keyboard's selection and copy; a click
                        // selects without taking the keys from the window's shortcuts, and the
                        // selection stays for the copy shortcut above.
                        activeFocusOnTab: true
                        activeFocusOnPress: false
                        persistentSelection: true
                        wrapMode: TextEdit.Wrap
                        font.family: "monospace"
                        font.pixelSize: Style.captionSize
                        color: Style.primaryText
                        selectionColor: Style.withOpacity(Style.accentTop, 0.35)
                        selectedTextColor: Style.primaryText
                        Accessible.role: Accessible.EditableText
                        Accessible.name: "Error details"
                    }
                }
            }
        }
    }
}
