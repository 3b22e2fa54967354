#pragma once

#include <optional>

namespace velmarto {

// How a MIDI file is read before MuseScore imports it.
struct ImportOptions {
    // Whether the file was played on a keyboard, and is quantised into written music first, or
    // sequenced on a grid. Nothing: told from the file's onsets.
    std::optional<bool> played;
};

} // namespace velmarto
