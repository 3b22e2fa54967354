import QtQuick
import Velmarto

// The three engine programs and whether each is installed.
Card {
    id: card

    required property bool museScore
    required property bool musicxml2ly
    required property bool lilypond

    implicitHeight: rows.implicitHeight + 32

    Column {
        id: rows
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10

        CheckRow {
            objectName: "lilypondRow"
            width: parent.width
            name: "LilyPond"
            detail: "Publication-quality engraving"
            found: card.lilypond
        }
        CheckRow {
            objectName: "musicxml2lyRow"
            width: parent.width
            name: "musicxml2ly"
            detail: "Score conversion bridge"
            found: card.musicxml2ly
        }
        CheckRow {
            objectName: "museScoreRow"
            width: parent.width
            name: "MuseScore"
            detail: "Smart MIDI import & quantization"
            found: card.museScore
        }
    }
}
