import QtQuick
import QtQuick.Layouts
import Velmarto

// The two presets, "Best" and "Fast", under their caption.
ColumnLayout {
    id: picker

    required property int engine

    signal engineSelected(int engine)

    spacing: 8

    SectionCaption {
        text: "QUALITY"
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
            selected: picker.engine === ContentViewModel.ConversionEngine.both
            onClicked: picker.engineSelected(ContentViewModel.ConversionEngine.both)
        }
        PresetSegment {
            objectName: "fastSegment"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            title: "Fast"
            subtitle: "MuseScore only"
            selected: picker.engine === ContentViewModel.ConversionEngine.museScoreOnly
            onClicked: picker.engineSelected(ContentViewModel.ConversionEngine.museScoreOnly)
        }
    }
}
