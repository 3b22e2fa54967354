#pragma once

#include "core/conversion/midi/Performance.h"

#include <QList>

#include <optional>

namespace velmarto {

// Finds the beats of a performance through its rubato: the tempo from the periodicity of the
// onsets (weighted by loudness, chord size and bass), then the beat times by dynamic programming
// that rewards beats on strong onsets and penalises uneven steps.
namespace beattracker {

// Beat times in seconds, ascending, from at or before the first onset to at or after the last
// note's end. Empty for a performance without notes. The tempo is looked for near
// preferredPeriod (seconds), by default near the pace a listener taps.
QList<double> beats(const Performance& performance, std::optional<double> preferredPeriod = {});

// Four of the performance's quick notes, in seconds: the beat most scores write for it (a
// quarter of sixteenths, a half of eighths). The performance must have notes.
double fourQuickNotes(const Performance& performance);

} // namespace beattracker

} // namespace velmarto
