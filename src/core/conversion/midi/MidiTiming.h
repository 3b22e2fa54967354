#pragma once

#include "core/conversion/midi/MidiFile.h"

#include <optional>

namespace velmarto {

// How a MIDI file's notes stand to its beat: played in by hand, or sequenced on a grid of
// sixteenths and triplets, perhaps with every note moved off the grid by the same few ticks.
struct MidiTiming {
    enum class Kind { sequenced, played };

    Kind kind = Kind::sequenced;
    // Sequenced files only: the ticks by which the notes sit after the grid (before it when
    // negative). Moving every note back by it puts them on the grid.
    int gridOffset = 0;

    // Nothing when the file counts time in SMPTE frames or has too few notes to tell.
    static std::optional<MidiTiming> of(const MidiFile& file);

    // A file is sequenced when at least this share of its notes start on the grid, once moved by
    // the offset that puts the most of them there.
    static constexpr double sequencedShare = 0.8;
};

} // namespace velmarto
