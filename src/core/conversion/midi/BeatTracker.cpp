#include "core/conversion/midi/BeatTracker.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmarto::beattracker {

namespace {

constexpr double framesPerSecond = 100;
// The range of beat periods considered.
constexpr double shortestPeriod = 0.25;
constexpr double longestPeriod = 2.2;
// The period a listener taps when nothing says otherwise (about 100 beats a minute).
constexpr double listenersPeriod = 0.6;
// Onsets closer than this sound as one chord.
constexpr double chordSpread = 0.035;
// The quick notes' length: the gap between chords at this share of the shortest ones.
constexpr double quickNoteShare = 0.35;
// How far, on a logarithmic scale, a player's tempo typically swings from the piece's own: a
// slow piece breathes by a tenth and more either way.
constexpr double tempoSwing = 0.25;
// Seconds beyond which holding a note longer marks no stronger beat.
constexpr double longestHeld = 1.0;
// How strongly an uneven step between beats is penalised against a strong onset.
constexpr double tightness = 100;

int frameOf(double seconds) {
    return int(std::lround(seconds * framesPerSecond));
}

// Onset strength per frame: each note counts by its loudness, a low note (the bass, which
// marks beats) counts double, a held note more than a passing one (long notes fall on beats,
// which keeps the beats off the offbeats of a running line), and the result is smoothed over a
// few frames.
std::vector<double> onsetStrength(const Performance& performance, int frames) {
    std::vector<double> raw(size_t(frames), 0.0);
    for (const PerformedNote& note : performance.notes) {
        const double held = std::min(note.offset - note.onset, longestHeld);
        const double weight =
            (0.5 + note.velocity / 127.0) * (note.pitch < 55 ? 2.0 : 1.0) * (1 + held);
        raw[size_t(std::clamp(frameOf(note.onset), 0, frames - 1))] += weight;
    }
    std::vector<double> smooth(raw.size(), 0.0);
    constexpr int radius = 3;
    for (int frame = 0; frame < frames; ++frame) {
        for (int offset = -radius; offset <= radius; ++offset) {
            const int source = frame + offset;
            if (source >= 0 && source < frames) {
                smooth[size_t(frame)] +=
                    raw[size_t(source)] * std::exp(-0.5 * offset * offset / 2.25);
            }
        }
    }
    double mean = 0;
    for (const double value : smooth) {
        mean += value;
    }
    mean /= frames;
    double variance = 0;
    for (const double value : smooth) {
        variance += (value - mean) * (value - mean);
    }
    const double deviation = std::sqrt(variance / frames);
    for (double& value : smooth) {
        value = deviation > 0 ? value / deviation : 0;
    }
    return smooth;
}

// The beat period in frames: the lag of the strongest autocorrelation, weighted towards the
// preferred period on a logarithmic scale.
double beatPeriod(const std::vector<double>& strength, double preferred) {
    const int first = int(shortestPeriod * framesPerSecond);
    const int last = int(longestPeriod * framesPerSecond);
    double bestScore = -1;
    int bestLag = int(preferred * framesPerSecond);
    for (int lag = first; lag <= last; ++lag) {
        double sum = 0;
        for (size_t frame = size_t(lag); frame < strength.size(); ++frame) {
            sum += strength[frame] * strength[frame - size_t(lag)];
        }
        const double octaves = std::log2(lag / (preferred * framesPerSecond));
        const double score = sum * std::exp(-0.5 * octaves * octaves / (0.9 * 0.9));
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return bestLag;
}

// The beat period around each frame, following the player's tempo: the strongest periodicity
// of the onsets within a few seconds, near the period of the whole piece.
std::vector<double> localPeriods(const std::vector<double>& strength, double globalPeriod) {
    const auto frames = int(strength.size());
    const int hop = int(framesPerSecond);
    const int halfWindow = int(4 * framesPerSecond);
    const int shortest = int(globalPeriod * 0.7);
    const int longest = int(globalPeriod * 1.4);
    std::vector<double> periods(strength.size(), globalPeriod);
    for (int centre = 0; centre < frames; centre += hop) {
        const int from = std::max(0, centre - halfWindow);
        const int to = std::min(frames, centre + halfWindow);
        double bestScore = 0;
        double best = globalPeriod;
        for (int lag = shortest; lag <= longest; ++lag) {
            double sum = 0;
            for (int frame = from + lag; frame < to; ++frame) {
                sum += strength[size_t(frame)] * strength[size_t(frame - lag)];
            }
            const double drift = std::log(lag / globalPeriod);
            const double score = sum * std::exp(-0.5 * drift * drift / (tempoSwing * tempoSwing));
            if (score > bestScore) {
                bestScore = score;
                best = lag;
            }
        }
        std::fill(periods.begin() + centre, periods.begin() + std::min(frames, centre + hop), best);
    }
    return periods;
}

} // namespace

double fourQuickNotes(const Performance& performance) {
    std::vector<double> gaps;
    double lastChord = performance.notes.first().onset;
    for (const PerformedNote& note : performance.notes) {
        if (note.onset - lastChord > chordSpread) {
            gaps.push_back(note.onset - lastChord);
            lastChord = note.onset;
        }
    }
    if (gaps.empty()) {
        return listenersPeriod;
    }
    const auto quick = gaps.begin() + qsizetype(double(gaps.size()) * quickNoteShare);
    std::nth_element(gaps.begin(), quick, gaps.end());
    return std::clamp(4 * *quick, 0.3, 2.0);
}

QList<double> beats(const Performance& performance, std::optional<double> preferredPeriod) {
    if (performance.notes.isEmpty()) {
        return {};
    }
    const double firstOnset = performance.notes.first().onset;
    const double end = performance.length();
    const int frames = frameOf(end) + 2;
    const std::vector<double> strength = onsetStrength(performance, frames);
    const double period = beatPeriod(strength, preferredPeriod.value_or(listenersPeriod));
    const std::vector<double> periods = localPeriods(strength, period);

    // score[t]: the best total of onset strength minus step penalties over beat sequences that
    // end with a beat at frame t; previous[t] the beat before it.
    std::vector<double> score(strength);
    std::vector<int> previous(size_t(frames), -1);
    for (int frame = 0; frame < frames; ++frame) {
        const double localPeriod = periods[size_t(frame)];
        const int nearest = std::max(1, int(localPeriod / 2));
        const int farthest = int(localPeriod * 2);
        double best = 0;
        for (int before = frame - farthest; before <= frame - nearest; ++before) {
            if (before < 0) {
                continue;
            }
            const double stretch = std::log((frame - before) / localPeriod);
            const double candidate = score[size_t(before)] - tightness * stretch * stretch;
            if (candidate > best) {
                best = candidate;
                previous[size_t(frame)] = before;
            }
        }
        score[size_t(frame)] += best;
    }
    // The last beat is the best-scoring frame within a period of the end.
    int beat = frames - 1;
    for (int frame = std::max(0, frames - 1 - int(period)); frame < frames; ++frame) {
        if (score[size_t(frame)] > score[size_t(beat)]) {
            beat = frame;
        }
    }
    QList<double> beats;
    for (; beat >= 0; beat = previous[size_t(beat)]) {
        beats.prepend(beat / framesPerSecond);
    }
    // Beats continue at the tracked pace before the first and after the last, so that every
    // note lies between two beats.
    const double step = period / framesPerSecond;
    const double firstStep = beats.size() > 1 ? beats.at(1) - beats.at(0) : step;
    while (beats.first() > firstOnset + 0.05) {
        beats.prepend(beats.first() - firstStep);
    }
    const double lastStep =
        beats.size() > 1 ? beats.at(beats.size() - 1) - beats.at(beats.size() - 2) : step;
    while (beats.last() < end) {
        beats.append(beats.last() + lastStep);
    }
    return beats;
}

} // namespace velmarto::beattracker
