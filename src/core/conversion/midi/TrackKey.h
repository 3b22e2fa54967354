#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <array>
#include <optional>

namespace velmarto {

// The key signature a track reads best in: of the fifteen, the one whose major scale (or its
// relative minor) leaves the fewest of the track's notes outside it. A MIDI file's own key is
// often missing or wrong for some of its tracks, and MuseScore's guess is often far off.
namespace trackkey {
// How many notes of each pitch class, C first; drums (channel 10) left out.
using PitchClassCounts = std::array<qint64, 12>;

PitchClassCounts countsOf(QByteArrayView track);

// Sharps above zero, flats below. Of equally good keys the file's own wins, then the one with
// the fewest accidentals.
int bestSharps(const PitchClassCounts& counts, std::optional<int> fileSharps);

qint64 notesOutside(const PitchClassCounts& counts, int sharps);

// The key signatures the track sets, as sharps (flats below zero) and mode (1 for minor).
struct Signature {
    int sharps = 0;
    int mode = 0;

    friend bool operator==(const Signature&, const Signature&) = default;
};
QList<Signature> signaturesIn(QByteArrayView track);

// The track with its key signatures replaced by this one at its start.
QByteArray withSignature(QByteArrayView track, Signature signature);
} // namespace trackkey

} // namespace velmarto
