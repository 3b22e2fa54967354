#pragma once

#include "core/conversion/midi/BeatGridQuantiser.h"
#include "core/conversion/midi/HandSplitter.h"
#include "core/conversion/midi/MeterFinder.h"

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>

namespace velmarto {

// What a quantised performance becomes: a Standard MIDI File whose notes lie on the grid of
// its bars, a conductor track with the time signature and a tempo map that follows the
// performance's pace, and a track per hand.
namespace scoremidiwriter {

constexpr int ticksPerQuarter = 480;

struct Score {
    const QList<QuantisedNote>& notes;
    const QList<handsplitter::Hand>& hands;
    const QList<double>& beats;
    Meter meter;
    std::optional<std::pair<qint8, quint8>> keySignature;
};

inline int ticksPerBeat(const Meter& meter) {
    return meter.compound ? ticksPerQuarter * 3 / 2 : ticksPerQuarter;
}
QByteArray write(const Score& score);

} // namespace scoremidiwriter

} // namespace velmarto
