#include "core/conversion/midi/BeatGridQuantiser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace velmarto::beatgridquantiser {

namespace {

struct Division {
    int parts;
    // What reading the division costs, against how far onsets move to reach it.
    double cost;
};

constexpr std::array simpleDivisions{Division{1, 0}, Division{2, 1}, Division{4, 2},
                                     Division{3, 3}, Division{8, 4}, Division{6, 4.5}};
constexpr std::array compoundDivisions{Division{1, 0}, Division{3, 1}, Division{6, 2},
                                       Division{2, 3}, Division{4, 3.5}};
// Squared movement, in beats, that one step of cost is worth.
constexpr double costWeight = 0.0015;

// The position of a time between beats, in beats from the first one.
class BeatClock {
public:
    explicit BeatClock(const QList<double>& beats)
        : m_beats(beats) {}

    double positionOf(double seconds) const {
        const auto after = std::upper_bound(m_beats.cbegin(), m_beats.cend(), seconds);
        const qsizetype index =
            std::clamp<qsizetype>(after - m_beats.cbegin() - 1, 0, m_beats.size() - 2);
        const double start = m_beats.at(index);
        return double(index) + (seconds - start) / (m_beats.at(index + 1) - start);
    }

private:
    const QList<double>& m_beats;
};

double squaredSnap(double fraction, int parts) {
    const double scaled = fraction * parts;
    const double moved = (scaled - std::round(scaled)) / parts;
    return moved * moved;
}

} // namespace

QList<QuantisedNote> quantise(const Performance& performance, const QList<double>& beats,
                              int ticksPerBeat, bool compound) {
    QList<QuantisedNote> quantised;
    if (beats.size() < 2) {
        return quantised;
    }
    const BeatClock clock(beats);
    const auto divisions = compound ? std::span<const Division>(compoundDivisions)
                                    : std::span<const Division>(simpleDivisions);

    // The onsets of each beat, as fractions of it; an onset just before a beat belongs to it.
    QList<QList<double>> onsetsOfBeat(beats.size());
    QList<double> onsetPositions;
    for (const PerformedNote& note : performance.notes) {
        const double position = clock.positionOf(note.onset);
        onsetPositions.append(position);
        const auto beat = qsizetype(std::floor(position));
        onsetsOfBeat[std::clamp<qsizetype>(beat, 0, beats.size() - 1)].append(position -
                                                                              double(beat));
    }
    QList<int> partsOfBeat(beats.size(), 1);
    for (qsizetype beat = 0; beat < beats.size(); ++beat) {
        double best = 1e9;
        for (const Division& division : divisions) {
            double moved = 0;
            for (const double fraction : std::as_const(onsetsOfBeat.at(beat))) {
                moved += squaredSnap(fraction, division.parts);
            }
            const double total =
                moved + costWeight * division.cost *
                            double(std::max<qsizetype>(1, onsetsOfBeat.at(beat).size()));
            if (total < best) {
                best = total;
                partsOfBeat[beat] = division.parts;
            }
        }
    }
    const auto snap = [&](double position, int minimumParts) {
        const auto beat =
            std::clamp<qsizetype>(qsizetype(std::floor(position)), 0, beats.size() - 1);
        const int parts = std::max(partsOfBeat.at(beat), minimumParts);
        const double fraction = position - double(beat);
        return qint64(beat) * ticksPerBeat +
               qint64(std::lround(fraction * parts)) * (ticksPerBeat / parts);
    };

    for (qsizetype index = 0; index < performance.notes.size(); ++index) {
        const PerformedNote& note = performance.notes.at(index);
        const qint64 start = snap(onsetPositions.at(index), 1);
        // A note end is less precise than an onset; it snaps to at least half beats.
        qint64 end = snap(clock.positionOf(note.offset), 2);
        end = std::max(end,
                       start + ticksPerBeat / std::max(2, partsOfBeat.at(std::clamp<qsizetype>(
                                                              qsizetype(onsetPositions.at(index)),
                                                              0, beats.size() - 1))));
        quantised.append({start, end, note.pitch, note.velocity});
    }
    // Legato playing holds a key a moment into the next note; in the score the first note ends
    // where the next one in its register starts.
    std::sort(quantised.begin(), quantised.end(), [](const auto& first, const auto& second) {
        return std::tie(first.start, first.pitch) < std::tie(second.start, second.pitch);
    });
    for (qsizetype index = 0; index < quantised.size(); ++index) {
        QuantisedNote& note = quantised[index];
        for (qsizetype later = index + 1; later < quantised.size(); ++later) {
            const QuantisedNote& next = quantised.at(later);
            if (next.start >= note.end) {
                break;
            }
            if (next.start > note.start && std::abs(next.pitch - note.pitch) <= 7 &&
                note.end - next.start <= ticksPerBeat / 2) {
                note.end = next.start;
                break;
            }
        }
    }
    return quantised;
}

} // namespace velmarto::beatgridquantiser
