#pragma once

#include "core/conversion/midi/Performance.h"

#include <QList>

namespace velmarto {

// How the beats of a performance group into bars.
struct Meter {
    int beatsPerBar = 4;
    // The index of the first beat that starts a bar; the beats before it form a pickup.
    int firstDownbeat = 0;
    // Whether beats divide in three (6/8, 9/8, 12/8) rather than in two.
    bool compound = false;
};

// Finds beats per bar and where bars start from what marks a downbeat in playing: long notes,
// the bass, loud chords and a change of harmony.
namespace meterfinder {

// Whether the beats clearly fall into threes (a waltz's quarters) rather than into pairs.
bool groupsInThrees(const Performance& performance, const QList<double>& beats);

// A time signature the file states is taken for the beats per bar; only the downbeat is then
// looked for.
Meter find(const Performance& performance, const QList<double>& beats,
           std::optional<TimeSignature> stated);

} // namespace meterfinder

} // namespace velmarto
