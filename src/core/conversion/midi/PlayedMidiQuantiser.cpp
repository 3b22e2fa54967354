#include "core/conversion/midi/PlayedMidiQuantiser.h"

#include "core/conversion/midi/BeatGridQuantiser.h"
#include "core/conversion/midi/BeatTracker.h"
#include "core/conversion/midi/HandSplitter.h"
#include "core/conversion/midi/MeterFinder.h"
#include "core/conversion/midi/Performance.h"
#include "core/conversion/midi/PlayedInputDetector.h"
#include "core/conversion/midi/ScoreMidiWriter.h"

#include <QSet>

namespace velmarto::playedmidiquantiser {

namespace {

constexpr int drumChannel = 9;

bool isOneKeyboard(const Performance& performance) {
    QSet<int> tracks;
    for (const PerformedNote& note : performance.notes) {
        if (note.channel == drumChannel) {
            return false;
        }
        tracks.insert(note.track);
    }
    // A recording keeps both hands in one track, sometimes one track per hand.
    return tracks.size() <= 2;
}

} // namespace

std::optional<QByteArray> quantised(const MidiFile& file, std::optional<bool> played,
                                    const ImportOptions::Meter& meter) {
    if (!played.value_or(playedinputdetector::isPlayed(file))) {
        return std::nullopt;
    }
    const auto performance = Performance::read(file);
    if (!performance || performance->length() > longestPerformance ||
        !isOneKeyboard(*performance)) {
        return std::nullopt;
    }
    const QList<double> beats = beattracker::beats(*performance);
    if (beats.size() < 2) {
        return std::nullopt;
    }
    // Recorders write 4/4 into every file they make; only another time signature was chosen.
    auto stated = performance->timeSignature;
    if (const auto* chosen = std::get_if<TimeSignature>(&meter)) {
        stated = *chosen;
    } else if (std::holds_alternative<std::monostate>(meter) && stated && stated->numerator == 4 &&
               stated->denominator == 4) {
        stated.reset();
    }
    const Meter found = meterfinder::find(*performance, beats, stated);
    const QList<QuantisedNote> notes = beatgridquantiser::quantise(
        *performance, beats, scoremidiwriter::ticksPerBeat(found), found.compound);
    const QList<handsplitter::Hand> hands = handsplitter::split(notes);
    return scoremidiwriter::write({
        .notes = notes,
        .hands = hands,
        .beats = beats,
        .meter = found,
        .keySignature = performance->keySignature,
    });
}

} // namespace velmarto::playedmidiquantiser
