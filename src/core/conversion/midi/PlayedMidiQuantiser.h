#pragma once

#include "core/conversion/ImportOptions.h"
#include "core/conversion/midi/MidiFile.h"

#include <QByteArray>

#include <optional>

namespace velmarto {

// Turns a keyboard player's recording into a file MuseScore imports as written music: beats
// tracked through the rubato, bars found, notes on the grid, two staves. A sequenced file, a
// file with drums or several instruments, and anything too long are left alone.
namespace playedmidiquantiser {
inline constexpr double longestPerformance = 30 * 60;

// played: whether the file was played; nothing to tell from its onsets. meter: the time
// signature the user chose, or the file's own taken as it stands (a stated 4/4 included).
std::optional<QByteArray> quantised(const MidiFile& file, std::optional<bool> played = std::nullopt,
                                    const ImportOptions::Meter& meter = {});
} // namespace playedmidiquantiser

} // namespace velmarto
