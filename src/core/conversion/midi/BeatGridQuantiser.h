#pragma once

#include "core/conversion/midi/Performance.h"

#include <QList>

namespace velmarto {

// A note placed on the score's grid, in ticks from the first beat.
struct QuantisedNote {
    qint64 start = 0;
    qint64 end = 0;
    int pitch = 0;
    int velocity = 0;
};

// Moves onsets and note ends onto the beats, choosing for each beat the division (2, 3, 4, 6 or
// 8) that fits its onsets best for the fewest grid lines, so that a run of triplets and a
// dotted rhythm are both kept. Note ends come from the keys' release, never from the pedal,
// and a note held a little into the next one in its register ends where that one starts.
namespace beatgridquantiser {

// beats must surround every note (as BeatTracker's do); ticksPerBeat must divide by 24.
QList<QuantisedNote> quantise(const Performance& performance, const QList<double>& beats,
                              int ticksPerBeat, bool compound);

} // namespace beatgridquantiser

} // namespace velmarto
