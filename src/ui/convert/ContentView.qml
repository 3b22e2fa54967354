import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Dialogs
import QtQuick.Layouts
import Velmarto

// The Convert tab: the controls in a sidebar on the left, the engraved score on the right.
SplitView {
    id: root

    required property ContentViewModel model

    implicitWidth: 860
    implicitHeight: 600
    orientation: Qt.Horizontal

    Component.onCompleted: root.model.onAppear()
    onVisibleChanged: {
        if (visible)
            root.model.onAppear();
    }

    // The linter of Qt 6.4 cannot resolve StandardKey, which QtQuick exports as a value type.
    Shortcut {
        sequences: [StandardKey.Open] // qmllint disable unqualified
        onActivated: root.model.chooseFile()
    }
    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        enabled: root.model.hasMIDI && !root.model.isConverting
        onActivated: root.model.convert()
    }
    Shortcut {
        sequences: [StandardKey.Save] // qmllint disable unqualified
        enabled: root.model.hasResult
        onActivated: root.model.savePDF()
    }

    // Engines can be installed or removed while the tab is open; the pills follow within a second.
    Timer {
        interval: 1000
        repeat: true
        running: root.visible
        onTriggered: root.model.refreshToolStatus()
    }

    handle: Item {
        implicitWidth: 5

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 1
            height: parent.height
            color: Style.withOpacity(Style.primaryText, 0.12)
        }
        HoverHandler {
            cursorShape: Qt.SplitHCursor
        }
    }

    Item {
        id: sidebar
        objectName: "sidebar"

        SplitView.minimumWidth: 320
        SplitView.preferredWidth: 360
        SplitView.maximumWidth: 440

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                GradientStop {
                    position: 0.0
                    color: Style.withOpacity(Style.accentTop, 0.10)
                }
                GradientStop {
                    position: 1.0
                    color: Style.withOpacity(Style.accentTop, 0.0)
                }
            }
        }

        ScrollView {
            id: sidebarScroll
            anchors.fill: parent
            contentWidth: availableWidth
            contentHeight: sidebarContent.height
            ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

            // At least as tall as the sidebar, so that the footer sits at the bottom; the footer
            // keeps 18 from the controls above it when the content is taller.
            Item {
                id: sidebarContent
                width: sidebar.width
                height: Math.max(controls.implicitHeight + 18 + footer.implicitHeight + 44, sidebar.height)

                ColumnLayout {
                    id: controls

                    x: 22
                    y: 22
                    width: parent.width - 44
                    spacing: 18

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
                                width: 22
                                height: 22
                                symbol: "music.note"
                                color: "white"
                            }
                        }
                        ColumnLayout {
                            spacing: 2

                            Text {
                                text: "Velmarto"
                                font.pixelSize: 17
                                font.bold: true
                                color: Style.primaryText
                            }
                            Text {
                                text: "MIDI → publication-quality sheet music"
                                font.pixelSize: 11
                                color: Style.secondaryText
                            }
                        }
                    }

                    Item {
                        id: dropZone
                        objectName: "dropZone"

                        Layout.fillWidth: true
                        implicitHeight: 124

                        Rectangle {
                            anchors.fill: parent
                            radius: 14
                            color: root.model.isTargeted ? Style.withOpacity(Style.accentTop, 0.10) : Style.withOpacity(Style.primaryText, 0.035)
                            Behavior on color  {
                                ColorAnimation {
                                    duration: 150
                                    easing.type: Easing.OutQuad
                                }
                            }
                        }
                        RoundedOutline {
                            objectName: "dropZoneBorder"
                            anchors.fill: parent
                            radius: 14
                            lineWidth: 1.5
                            dashPattern: root.model.hasMIDI ? [] : [7, 5]
                            color: root.model.isTargeted ? Style.accentTop : Style.withOpacity(Style.primaryText, 0.18)
                            Behavior on color  {
                                ColorAnimation {
                                    duration: 150
                                    easing.type: Easing.OutQuad
                                }
                            }
                        }

                        DropArea {
                            anchors.fill: parent
                            onEntered: drag => {
                                drag.accepted = drag.hasUrls;
                                root.model.isTargeted = drag.hasUrls;
                            }
                            onExited: root.model.isTargeted = false
                            onDropped: drop => {
                                root.model.isTargeted = false;
                                if (root.model.handleDrop(drop.urls))
                                    drop.acceptProposedAction();
                            }
                        }

                        ColumnLayout {
                            anchors.centerIn: parent
                            width: parent.width - 24
                            spacing: 4
                            opacity: root.model.hasMIDI ? 0.0 : 1.0
                            visible: opacity > 0
                            Behavior on opacity  {
                                NumberAnimation {
                                    duration: 200
                                    easing.type: Easing.OutQuad
                                }
                            }

                            SymbolIcon {
                                Layout.alignment: Qt.AlignHCenter
                                implicitWidth: 28
                                implicitHeight: 28
                                symbol: "arrow.down.doc"
                                color: Style.secondaryText
                            }
                            Text {
                                Layout.alignment: Qt.AlignHCenter
                                text: "Drop a MIDI file here"
                                font.pixelSize: 13
                                font.weight: Font.Medium
                                color: Style.primaryText
                            }
                            Text {
                                Layout.alignment: Qt.AlignHCenter
                                text: "(.mid or .midi)"
                                font.pixelSize: 10
                                color: Style.secondaryText
                            }
                            LinkButton {
                                objectName: "chooseFileLink"
                                Layout.alignment: Qt.AlignHCenter
                                text: "or choose a file…"
                                onClicked: root.model.chooseFile()
                            }
                        }

                        ColumnLayout {
                            anchors.centerIn: parent
                            width: parent.width - 24
                            spacing: 4
                            opacity: root.model.hasMIDI ? 1.0 : 0.0
                            visible: opacity > 0
                            Behavior on opacity  {
                                NumberAnimation {
                                    duration: 200
                                    easing.type: Easing.OutQuad
                                }
                            }

                            SymbolIcon {
                                Layout.alignment: Qt.AlignHCenter
                                implicitWidth: 26
                                implicitHeight: 26
                                symbol: "doc.badge.gearshape"
                                gradient: Style.accentGradient
                            }
                            Text {
                                objectName: "midiFileName"
                                Layout.fillWidth: true
                                horizontalAlignment: Text.AlignHCenter
                                text: root.model.midiFileName
                                elide: Text.ElideMiddle
                                maximumLineCount: 1
                                font.pixelSize: 13
                                font.weight: Font.Medium
                                color: Style.primaryText
                            }
                            LinkButton {
                                Layout.alignment: Qt.AlignHCenter
                                text: "Choose a different file…"
                                onClicked: root.model.chooseFile()
                            }
                        }
                    }

                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 8

                        Text {
                            text: "QUALITY"
                            font.pixelSize: 10
                            font.bold: true
                            font.letterSpacing: 0.8
                            color: Style.secondaryText
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 6

                            PresetSegment {
                                objectName: "bestSegment"
                                Layout.fillWidth: true
                                Layout.preferredWidth: 1
                                title: "Best"
                                subtitle: "MuseScore + LilyPond"
                                selected: root.model.engine === ContentViewModel.ConversionEngine.both
                                onClicked: root.model.engine = ContentViewModel.ConversionEngine.both
                            }
                            PresetSegment {
                                objectName: "fastSegment"
                                Layout.fillWidth: true
                                Layout.preferredWidth: 1
                                title: "Fast"
                                subtitle: "MuseScore only"
                                selected: root.model.engine === ContentViewModel.ConversionEngine.museScoreOnly
                                onClicked: root.model.engine = ContentViewModel.ConversionEngine.museScoreOnly
                            }
                        }
                    }

                    PrimaryButton {
                        objectName: "convertButton"
                        Layout.fillWidth: true
                        text: root.model.isConverting ? "Engraving…" : "Convert to Sheet Music"
                        symbol: "wand.and.stars"
                        busy: root.model.isConverting
                        enabled: root.model.hasMIDI && !root.model.isConverting
                        onClicked: root.model.convert()
                    }

                    ColumnLayout {
                        objectName: "exportSection"
                        Layout.fillWidth: true
                        spacing: 8
                        opacity: root.model.hasResult ? 1.0 : 0.0
                        visible: opacity > 0
                        Behavior on opacity  {
                            NumberAnimation {
                                duration: 250
                                easing.type: Easing.OutQuad
                            }
                        }

                        Text {
                            text: "EXPORT"
                            font.pixelSize: 10
                            font.bold: true
                            font.letterSpacing: 0.8
                            color: Style.secondaryText
                        }
                        PrimaryButton {
                            objectName: "savePDFButton"
                            Layout.fillWidth: true
                            text: "Save as PDF"
                            symbol: "square.and.arrow.down"
                            onClicked: root.model.savePDF()
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 8

                            SoftButton {
                                objectName: "musicXMLButton"
                                Layout.fillWidth: true
                                Layout.preferredWidth: 1
                                visible: root.model.hasMusicXML
                                text: "MusicXML"
                                symbol: "doc.text"
                                onClicked: root.model.saveMusicXML()
                            }
                            SoftButton {
                                objectName: "revealButton"
                                Layout.fillWidth: true
                                Layout.preferredWidth: 1
                                text: "Reveal"
                                symbol: "folder"
                                onClicked: root.model.revealPDF()
                            }
                        }
                    }

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 6

                        BusyIndicator {
                            objectName: "statusSpinner"
                            visible: root.model.isConverting
                            running: root.model.isConverting
                            padding: 0
                            implicitWidth: 14
                            implicitHeight: 14
                            palette.dark: Style.secondaryText
                        }
                        Text {
                            objectName: "statusLine"
                            Layout.fillWidth: true
                            text: root.model.statusMessage
                            wrapMode: Text.Wrap
                            font.pixelSize: 11
                            color: Style.secondaryText
                        }
                    }

                    Rectangle {
                        objectName: "errorBox"
                        Layout.fillWidth: true
                        Layout.preferredHeight: Math.min(150, errorText.implicitHeight)
                        visible: root.model.hasError
                        radius: 10
                        color: Style.withOpacity(Style.error, 0.07)

                        ScrollView {
                            id: errorScroll
                            anchors.fill: parent
                            clip: true
                            contentWidth: availableWidth

                            TextEdit {
                                id: errorText
                                objectName: "errorText"
                                width: errorScroll.availableWidth
                                padding: 10
                                text: root.model.errorText
                                readOnly: true
                                selectByMouse: true
                                wrapMode: TextEdit.Wrap
                                font.family: "monospace"
                                font.pixelSize: 10
                                color: Style.error
                                selectionColor: Style.withOpacity(Style.accentTop, 0.35)
                            }
                        }
                    }
                }

                ColumnLayout {
                    id: footer
                    x: 22
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 22
                    spacing: 8

                    Text {
                        text: "ENGINE STATUS"
                        font.pixelSize: 10
                        font.bold: true
                        font.letterSpacing: 0.8
                        color: Style.secondaryText
                    }
                    Row {
                        spacing: 6

                        EnginePill {
                            objectName: "museScorePill"
                            name: "MuseScore"
                            found: root.model.museScoreFound
                        }
                        EnginePill {
                            objectName: "musicxml2lyPill"
                            name: "musicxml2ly"
                            found: root.model.musicxml2lyFound
                        }
                        EnginePill {
                            objectName: "lilypondPill"
                            name: "LilyPond"
                            found: root.model.lilypondFound
                        }
                    }
                }
            }
        }
    }

    ColumnLayout {
        SplitView.minimumWidth: 460
        SplitView.fillWidth: true
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: titleRow.implicitHeight + 20
            color: Style.withOpacity(Style.windowBackground, 0.85)

            RowLayout {
                id: titleRow
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: 16
                anchors.topMargin: 10
                anchors.bottomMargin: 10
                spacing: 8

                SymbolIcon {
                    implicitWidth: 15
                    implicitHeight: 15
                    symbol: "doc.richtext"
                    color: Style.secondaryText
                }
                Text {
                    objectName: "previewTitle"
                    Layout.fillWidth: true
                    text: root.model.hasResult ? root.model.pdfFileName : "Score Preview"
                    elide: Text.ElideMiddle
                    maximumLineCount: 1
                    font.pixelSize: 12
                    font.weight: Font.Medium
                    color: Style.primaryText
                }
            }
        }
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Style.withOpacity(Style.primaryText, 0.10)
        }
        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            color: Style.windowBackground

            Loader {
                objectName: "previewLoader"
                anchors.fill: parent
                active: root.model.hasResult
                // A bound component would say where this name comes from, but Qt 6.4's Loader
                // cannot create one.
                sourceComponent: PDFPreview {
                    url: root.model.pdfURL // qmllint disable unqualified
                }
            }

            ColumnLayout {
                objectName: "emptyState"
                anchors.centerIn: parent
                visible: !root.model.hasResult
                spacing: 14

                Item {
                    Layout.alignment: Qt.AlignHCenter
                    implicitWidth: 96
                    implicitHeight: 96

                    GradientRectangle {
                        anchors.fill: parent
                        radius: 18
                        gradient: Style.accentGradient
                        opacity: 0.12
                    }
                    SymbolIcon {
                        anchors.centerIn: parent
                        width: 40
                        height: 40
                        symbol: "music.note.list"
                        gradient: Style.accentGradient
                    }
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Your engraved score appears here"
                    font.pixelSize: 15
                    font.weight: Font.Medium
                    color: Style.primaryText
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Drop a MIDI file and press Convert."
                    font.pixelSize: 12
                    color: Style.secondaryText
                }
            }
        }
    }

    FileDialog {
        id: openDialog
        title: "Choose a MIDI file"
        fileMode: FileDialog.OpenFile
        modality: Qt.ApplicationModal
        // Without a native dialog, Qt draws its own inside this window and needs to be told which.
        parentWindow: root.Window.window
        onAccepted: root.model.dialogs.accept(selectedFile)
        onRejected: root.model.dialogs.cancel()
    }
    FileDialog {
        id: saveDialog
        fileMode: FileDialog.SaveFile
        modality: Qt.ApplicationModal
        parentWindow: root.Window.window
        onAccepted: root.model.dialogs.accept(selectedFile)
        onRejected: root.model.dialogs.cancel()
    }
    Connections {
        target: root.model.dialogs
        ignoreUnknownSignals: true

        function onOpenRequested(nameFilters) {
            openDialog.nameFilters = nameFilters;
            openDialog.open();
        }
        function onSaveRequested(folder, suggestedFile, nameFilters) {
            saveDialog.nameFilters = nameFilters;
            saveDialog.currentFolder = folder;
            saveDialog.selectedFile = suggestedFile;
            saveDialog.open();
        }
    }
}
