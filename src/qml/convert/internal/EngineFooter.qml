import QtQuick
import QtQuick.Layouts
import Velmarto

// Which of the three engines are installed.
ColumnLayout {
    id: footer

    required property bool museScoreFound
    required property bool musicxml2lyFound
    required property bool lilypondFound

    spacing: 8

    SectionCaption {
        text: "ENGINE STATUS"
    }
    Row {
        spacing: 6

        EnginePill {
            objectName: "museScorePill"
            name: "MuseScore"
            found: footer.museScoreFound
        }
        EnginePill {
            objectName: "musicxml2lyPill"
            name: "musicxml2ly"
            found: footer.musicxml2lyFound
        }
        EnginePill {
            objectName: "lilypondPill"
            name: "LilyPond"
            found: footer.lilypondFound
        }
    }
}
