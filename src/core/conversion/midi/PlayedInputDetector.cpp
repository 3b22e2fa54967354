#include "core/conversion/midi/PlayedInputDetector.h"

#include "core/conversion/midi/MidiTrackReader.h"

#include <algorithm>
#include <cstdlib>

namespace velmarto::playedinputdetector {

namespace {

// Too few notes say nothing about how the file was made.
constexpr int minimumOnsets = 16;
// A sequenced file has nearly all its onsets on the grid; a recording puts about a quarter of
// them there by chance at this tolerance.
constexpr double sequencedShare = 0.6;

bool isOnGrid(quint64 tick, int ticksPerQuarter) {
    // Thirty-seconds and sixteenth triplets, within a 96th of a quarter.
    const int tolerance = std::max(1, ticksPerQuarter / 96);
    for (const int division : {8, 6}) {
        if (ticksPerQuarter % division != 0) {
            continue;
        }
        const quint64 step = quint64(ticksPerQuarter / division);
        const quint64 offset = tick % step;
        if (offset <= quint64(tolerance) || step - offset <= quint64(tolerance)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isPlayed(const MidiFile& file) {
    const int ticksPerQuarter = file.ticksPerQuarter().value_or(0);
    if (ticksPerQuarter < 48) {
        return false;
    }
    int onsets = 0;
    int onGrid = 0;
    for (const MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        quint64 tick = 0;
        MidiTrackReader reader(chunk.data);
        while (reader.readNext()) {
            tick += reader.event().delta;
            if (reader.event().isNoteOn()) {
                ++onsets;
                onGrid += isOnGrid(tick, ticksPerQuarter) ? 1 : 0;
            }
        }
    }
    return onsets >= minimumOnsets && onGrid < sequencedShare * onsets;
}

} // namespace velmarto::playedinputdetector
