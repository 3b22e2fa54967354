#pragma once

#include "core/conversion/midi/BeatGridQuantiser.h"

#include <QList>

namespace velmarto {

// Splits the notes of a keyboard part between the right hand (upper staff) and the left hand
// (lower staff). The boundary follows the hands: it sits between the lowest notes the right hand
// has been playing and the highest of the left, and one chord never spans more than a hand.
namespace handsplitter {

enum class Hand { right, left };

// One hand per note, in the order of the notes, which must be sorted by start.
QList<Hand> split(const QList<QuantisedNote>& notes);

} // namespace handsplitter

} // namespace velmarto
