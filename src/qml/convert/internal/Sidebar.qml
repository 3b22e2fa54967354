import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmarto

// The left side of the Convert tab: the controls from top to bottom, the engine footer at the
// foot. Scrolls when the window is too short for them.
Item {
    id: sidebar

    required property ContentViewModel model

    objectName: "sidebar"

    AccentWash {
        anchors.fill: parent
        strength: 0.10
    }

    FocusScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        contentHeight: content.height
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
        // Shown whenever there is more than fits, so a footer below the fold can be found.
        ScrollBar.vertical.objectName: "sidebarScrollBar"
        ScrollBar.vertical.policy: ScrollBar.vertical.size < 1.0 ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff

        // At least as tall as the sidebar, so that the footer sits at the bottom; the footer
        // keeps a section's spacing from the controls above it when the content is taller.
        Item {
            id: content
            width: sidebar.width
            height: Math.max(controls.implicitHeight + Style.sectionSpacing + footer.implicitHeight + 2 * Style.sidebarPadding, sidebar.height)

            ColumnLayout {
                id: controls

                x: Style.sidebarPadding
                y: Style.sidebarPadding
                width: parent.width - 2 * Style.sidebarPadding
                spacing: Style.sectionSpacing

                BadgeHeader {
                    symbol: "music.note"
                    title: "Velmarto"
                    subtitle: "MIDI → publication-quality sheet music"
                }
                DropZone {
                    Layout.fillWidth: true
                    hasMIDI: sidebar.model.hasMIDI
                    isTargeted: sidebar.model.isTargeted
                    midiFileName: sidebar.model.midiFileName
                    onChooseFileRequested: sidebar.model.chooseFile()
                    onTargetedByDrag: isTargeted => sidebar.model.isTargeted = isTargeted
                    onDropped: drop => {
                        if (sidebar.model.handleDrop(drop.urls))
                            drop.acceptProposedAction();
                    }
                }
                QueueList {
                    Layout.fillWidth: true
                    visible: sidebar.model.queue.count > 1
                    queue: sidebar.model.queue
                    canSaveAll: !sidebar.model.isConverting && sidebar.model.queue.convertedCount > 0
                    onRowSelected: row => sidebar.model.queue.selectedRow = row
                    onSaveAllRequested: sidebar.model.saveAll()
                }
                QualityPicker {
                    Layout.fillWidth: true
                    engine: sidebar.model.engine
                    onEngineSelected: engine => sidebar.model.engine = engine
                }
                PrimaryButton {
                    objectName: "convertButton"
                    Layout.fillWidth: true
                    text: sidebar.model.isConverting ? "Engraving…" : sidebar.model.queue.count > 1 ? "Convert All " + sidebar.model.queue.count + " Files" : "Convert to Sheet Music"
                    symbol: "wand.and.stars"
                    busy: sidebar.model.isConverting
                    enabled: sidebar.model.canConvert
                    onClicked: sidebar.model.convert()
                    ToolTip.text: sidebar.model.queue.count > 1 ? "Engrave every queued file (Ctrl+Return)" : "Engrave the chosen file (Ctrl+Return)"
                }
                ExportSection {
                    Layout.fillWidth: true
                    hasResult: sidebar.model.hasResult
                    hasMusicXML: sidebar.model.hasMusicXML
                    onSavePDFRequested: sidebar.model.savePDF()
                    onSaveMusicXMLRequested: sidebar.model.saveMusicXML()
                    onRevealPDFRequested: sidebar.model.revealPDF()
                }
                StatusArea {
                    Layout.fillWidth: true
                    isConverting: sidebar.model.isConverting
                    statusMessage: sidebar.model.statusMessage
                    hasError: sidebar.model.hasError
                    errorStageLine: sidebar.model.errorStageLine
                    errorCause: sidebar.model.errorCause
                    errorText: sidebar.model.errorText
                    hasSavedCopy: sidebar.model.hasSavedCopy
                    showSavedCopyLabel: sidebar.model.showSavedCopyLabel
                    onShowSavedCopyRequested: sidebar.model.revealSavedCopy()
                }
                ImportOptionsSection {
                    Layout.fillWidth: true
                    options: sidebar.model.importOptions
                    offersConvertAgain: sidebar.model.offersConvertAgain
                    onConvertAgainRequested: sidebar.model.convert()
                }
            }

            EngineFooter {
                id: footer
                x: Style.sidebarPadding
                anchors.bottom: parent.bottom
                anchors.bottomMargin: Style.sidebarPadding
                museScoreFound: sidebar.model.engines.museScore
                musicxml2lyFound: sidebar.model.engines.musicxml2ly
                lilypondFound: sidebar.model.engines.lilypond
            }
        }
    }
}
