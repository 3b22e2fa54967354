#pragma once

#include <QString>

namespace velmarto {

// The title a score gets when the user gives none: the MIDI file's name, made readable.
class ScoreTitle {
public:
    // "harp_harmony.mid" gives "Harp Harmony": underscores become blanks, runs of blanks
    // shrink to one and each word starts with a capital. Other characters stay as typed.
    static QString fromFileName(const QString& midiPath);
};

} // namespace velmarto
