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

// A listener taps at a comfortable pace, which may be a slow piece's eighths or a fast one's
// half notes, where scores mostly write four quick notes to a beat. The beats follow that written
// pace, unless it is the coarser one and the tapped beats clearly group in threes, as a waltz's
// quarters over its eighths do.
QList<double> beatsAsWritten(const Performance& performance) {
    QList<double> tapped = beattracker::beats(performance);
    if (tapped.size() < 2) {
        return tapped;
    }
    constexpr double levelsApart = 1.4;
    const double tappedPeriod = (tapped.last() - tapped.first()) / double(tapped.size() - 1);
    const double written = beattracker::fourQuickNotes(performance);
    const bool finer = written < tappedPeriod / levelsApart;
    const bool coarser =
        written > tappedPeriod * levelsApart && !meterfinder::groupsInThrees(performance, tapped);
    return finer || coarser ? beattracker::beats(performance, written) : tapped;
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
    const QList<double> beats = beatsAsWritten(*performance);
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
