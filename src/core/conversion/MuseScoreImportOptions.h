#pragma once

#include "core/conversion/ImportOptions.h"

#include <QString>

#include <optional>

namespace velmarto {

// The settings of MuseScore's MIDI import, written as the operations file that `mscore3 -M`
// reads. MuseScore ignores a file it cannot find without a word, so the file is written before
// the run and handed over by its absolute path. A setting left empty keeps MuseScore's own
// choice, which it makes for each file; any value written replaces that choice.
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
    std::optional<bool> duplets;
    std::optional<bool> triplets;
    std::optional<bool> quadruplets;
    std::optional<bool> quintuplets;
    std::optional<bool> nonuplets;
    // The shortest note: 0 a quarter, 1 an eighth ... 4 a sixty-fourth. A limit, not a grid.
    std::optional<int> quantValue;
    // 0 for one voice ... 3 for four.
    std::optional<int> voiceCount;
    // 1 shuffle (3:1), 2 swing (2:1).
    std::optional<int> swing;
    // Applies to every track, a drum kit's included (a drum kit splits into staves by voice), so
    // only false, which is also every drum kit's own setting, is ever written.
    std::optional<bool> splitStaff;

    // What the user's import options ask of MuseScore; nothing for what they leave to it.
    static MuseScoreImportOptions chosen(const ImportOptions& options);

    QString xml() const;

    // Writes the file into the folder and returns its absolute path; nothing when it could not be
    // written.
    std::optional<QString> writeInto(const QString& folder) const;
};

} // namespace velmarto
