#include "core/conversion/midi/MeterFinder.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <vector>

namespace velmarto::meterfinder {

namespace {

// How far from a beat an onset may be and still be heard on it, as a share of the beat.
constexpr double onBeatShare = 0.2;

// Evidence of a downbeat at each beat.
std::vector<double> accents(const Performance& performance, const QList<double>& beats) {
    const auto beatCount = size_t(beats.size());
    std::vector<double> accent(beatCount, 0.0);
    std::vector<std::bitset<12>> harmony(beatCount);
    std::vector<int> lowest(beatCount, 128);
    size_t beat = 0;
    for (const PerformedNote& note : performance.notes) {
        while (beat + 1 < beatCount && beats.at(qsizetype(beat) + 1) <= note.onset) {
            ++beat;
        }
        const double length =
            beat + 1 < beatCount ? beats.at(qsizetype(beat) + 1) - beats.at(qsizetype(beat)) : 0.5;
        harmony[beat].set(size_t(note.pitch % 12));
        const double fromBeat = note.onset - beats.at(qsizetype(beat));
        const bool onThis = fromBeat < onBeatShare * length;
        const bool onNext = beat + 1 < beatCount && length - fromBeat < onBeatShare * length;
        if (!onThis && !onNext) {
            continue;
        }
        const size_t at = onThis ? beat : beat + 1;
        const double held = std::min(note.offset - note.onset, 2 * length) / length;
        accent[at] += (0.5 + note.velocity / 127.0) * (0.5 + held);
        lowest[at] = std::min(lowest[at], note.pitch);
    }
    for (size_t index = 0; index < beatCount; ++index) {
        if (lowest[index] < 128) {
            accent[index] += (96 - lowest[index]) / 24.0;
        }
        if (index > 0 && harmony[index].any() && harmony[index] != harmony[index - 1]) {
            const auto shared = (harmony[index] & harmony[index - 1]).count();
            accent[index] += 1.0 - double(shared) / double(harmony[index].count());
        }
    }
    return accent;
}

// How much more the beats in the given phase of bars of this length stand out than the rest.
double contrast(const std::vector<double>& accent, int beatsPerBar, int phase) {
    double onDownbeats = 0;
    double elsewhere = 0;
    int downbeats = 0;
    int others = 0;
    for (size_t index = 0; index < accent.size(); ++index) {
        if (int(index % size_t(beatsPerBar)) == phase) {
            onDownbeats += accent[index];
            ++downbeats;
        } else {
            elsewhere += accent[index];
            ++others;
        }
    }
    return downbeats == 0 || others == 0 ? 0 : onDownbeats / downbeats - elsewhere / others;
}

// True when more onsets between beats fall on thirds of the beat than on halves and quarters.
bool dividesInThree(const Performance& performance, const QList<double>& beats) {
    double inThree = 0;
    double inTwo = 0;
    qsizetype beat = 0;
    for (const PerformedNote& note : performance.notes) {
        while (beat + 2 < beats.size() && beats.at(beat + 1) <= note.onset) {
            ++beat;
        }
        const double position =
            (note.onset - beats.at(beat)) / (beats.at(beat + 1) - beats.at(beat));
        const auto distance = [position](int division) {
            const double scaled = position * division;
            return std::abs(scaled - std::round(scaled)) / division;
        };
        if (distance(1) < 0.08) {
            continue;
        }
        (distance(3) < distance(4) ? inThree : inTwo) += 1;
    }
    return inThree > 1.2 * inTwo;
}

double strongestContrast(const std::vector<double>& accent, int beatsPerBar) {
    double strongest = -1e9;
    for (int phase = 0; phase < beatsPerBar; ++phase) {
        strongest = std::max(strongest, contrast(accent, beatsPerBar, phase));
    }
    return strongest;
}

} // namespace

bool groupsInThrees(const Performance& performance, const QList<double>& beats) {
    if (beats.size() < 7) {
        return false;
    }
    const std::vector<double> accent = accents(performance, beats);
    // Half a quiet note's accent: less than that is chance in the phrasing.
    constexpr double margin = 0.5;
    return strongestContrast(accent, 3) > strongestContrast(accent, 2) + margin;
}

Meter find(const Performance& performance, const QList<double>& beats,
           std::optional<TimeSignature> stated) {
    Meter meter;
    if (beats.size() < 4) {
        return meter;
    }
    meter.compound = dividesInThree(performance, beats);
    const std::vector<double> accent = accents(performance, beats);
    QList<int> candidates{2, 3, 4};
    if (stated) {
        const bool statedCompound =
            stated->denominator == 8 && stated->numerator % 3 == 0 && stated->numerator > 3;
        candidates = {statedCompound ? stated->numerator / 3 : stated->numerator};
        meter.compound = statedCompound;
    }
    double best = -1e9;
    for (const int beatsPerBar : std::as_const(candidates)) {
        if (beatsPerBar < 1) {
            continue;
        }
        // Longer bars have fewer downbeats to stand out by chance; a small bonus keeps them
        // from losing to their own halves when the evidence is even.
        const double preference = beatsPerBar == 4 ? 0.05 : beatsPerBar == 3 ? 0.03 : 0.0;
        for (int phase = 0; phase < beatsPerBar; ++phase) {
            const double score = contrast(accent, beatsPerBar, phase) + preference;
            if (score > best) {
                best = score;
                meter.beatsPerBar = beatsPerBar;
                meter.firstDownbeat = phase;
            }
        }
    }
    return meter;
}

} // namespace velmarto::meterfinder
