#pragma once

#include "core/conversion/midi/MidiFile.h"

namespace velmarto {

// Tells a file recorded from a keyboard from one written in a sequencer: a sequenced file's
// onsets sit on a fine grid of its own quarter note (sixteenths, their triplets, thirty-seconds),
// a played one's fall anywhere.
namespace playedinputdetector {

bool isPlayed(const MidiFile& file);

} // namespace playedinputdetector

} // namespace velmarto
