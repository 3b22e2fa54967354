#pragma once

#include <QString>

#include <optional>

namespace velmarto {

// The settings of MuseScore's MIDI import, written as the operations file that `mscore3 -M`
// reads. MuseScore ignores a file it cannot find without a word, so the file is written before
// the run and handed over by its absolute path. A setting left empty keeps MuseScore's own choice.
class MuseScoreImportOptions {
public:
    // Whether the file is a played performance (MuseScore then finds the beat itself) or was
    // sequenced on a grid. Empty: MuseScore guesses.
    std::optional<bool> humanPerformance;
    // MuseScore's clef changes in the middle of a bar: musicxml2ly cannot place them, and the
    // voices of the bar slip out of it.
    std::optional<bool> clefChanges;
    // Runs of seven notes in the time of four or six: musicxml2ly gives their notes durations
    // that do not add up, and the voice slips out of its bar.
    std::optional<bool> septuplets;

    QString xml() const;

    // Writes the file into the folder and returns its absolute path; nothing when it could not be
    // written.
    std::optional<QString> writeInto(const QString& folder) const;
};

} // namespace velmarto
