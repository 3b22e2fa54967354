import QtQuick
import QtQuick.Layouts
import Velmarto

// The version, the pipeline and whether each engine is installed.
ColumnLayout {
    id: section

    required property bool museScoreFound
    required property bool musicxml2lyFound
    required property bool lilypondFound

    spacing: 6

    InfoRow {
        label: "Version"
        value: "1.0"
    }
    InfoRow {
        label: "Pipeline"
        value: "MIDI → MusicXML → LilyPond → PDF"
    }
    Rectangle {
        Layout.fillWidth: true
        Layout.topMargin: 2
        Layout.bottomMargin: 2
        implicitHeight: 1
        color: Style.withOpacity(Style.primaryText, 0.12)
    }
    EngineStatusRow {
        objectName: "museScoreStatus"
        name: "MuseScore"
        found: section.museScoreFound
    }
    EngineStatusRow {
        objectName: "musicxml2lyStatus"
        name: "musicxml2ly"
        found: section.musicxml2lyFound
    }
    EngineStatusRow {
        objectName: "lilypondStatus"
        name: "LilyPond"
        found: section.lilypondFound
    }
}
