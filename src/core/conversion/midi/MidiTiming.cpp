#include "core/conversion/midi/MidiTiming.h"

#include "core/conversion/midi/MidiTrackReader.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velmarto {

namespace {

constexpr qsizetype fewestNotes = 16;
// A hostile file may hold millions of notes and 32767 ticks to the quarter; weighing a sample of
// its notes against a bounded number of offsets keeps the work small whatever it holds.
constexpr qsizetype mostNotesWeighed = 4096;
constexpr int mostOffsetsEachWay = 120;

// Calls visit with the time of every note's start, track by track.
template <typename Visit> void forEachNoteStart(const MidiFile& file, Visit visit) {
    for (const MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        MidiTrackReader reader(chunk.data);
        qint64 time = 0;
        while (reader.readNext()) {
            time += reader.event().delta;
            if (reader.event().isNoteOn()) {
                visit(time);
            }
        }
    }
}

// Every note's start, or an even sample of them.
QList<qint64> noteStarts(const MidiFile& file) {
    qsizetype count = 0;
    forEachNoteStart(file, [&](qint64) { ++count; });
    const qsizetype stride =
        std::max<qsizetype>(1, (count + mostNotesWeighed - 1) / mostNotesWeighed);
    QList<qint64> starts;
    qsizetype index = 0;
    forEachNoteStart(file, [&](qint64 time) {
        if (index++ % stride == 0) {
            starts.append(time);
        }
    });
    return starts;
}

// The grid is every sixteenth and every sixteenth triplet; a note within a 48th of a quarter of
// one of its points is on it, which leaves room for a sequencer's rounding but not for a hand.
class Grid {
public:
    explicit Grid(int ticksPerQuarter)
        : m_thirtySecond(ticksPerQuarter / 8.0)
        , m_sixteenth(ticksPerQuarter / 4.0)
        , m_triplet(ticksPerQuarter / 6.0)
        , m_tolerance(std::max(1.0, ticksPerQuarter / 48.0)) {}

    struct Fit {
        int offset = 0;
        double share = 0;
        // The share on the sixteenths alone: a file shifted onto the triplets fits the grid as
        // well, but straight notes are the likelier reading.
        double straightShare = 0;
        // How far the notes on the grid are from its points, all together: among offsets that
        // put as many notes on it, the true one leaves the least.
        double distance = 0;
        // The share on thirty-seconds and triplets: a dotted rhythm written as it stands puts
        // many notes between the sixteenths, and moving the file would throw the rest off. A
        // file with hardly any note on a sixteenth is late by a thirty-second instead.
        double fineShare = 0;
    };

    Fit fit(const QList<qint64>& starts, int offset) const {
        Fit fit{.offset = offset};
        qsizetype onGrid = 0;
        qsizetype onSixteenths = 0;
        qsizetype onFineGrid = 0;
        for (const qint64 start : starts) {
            const double straight = distanceFrom(start - offset, m_sixteenth);
            const double distance = std::min(straight, distanceFrom(start - offset, m_triplet));
            if (distance <= m_tolerance) {
                ++onGrid;
                fit.distance += distance;
            }
            onSixteenths += straight <= m_tolerance ? 1 : 0;
            onFineGrid +=
                std::min(distance, distanceFrom(start - offset, m_thirtySecond)) <= m_tolerance ? 1
                                                                                                : 0;
        }
        fit.share = double(onGrid) / double(starts.size());
        fit.straightShare = double(onSixteenths) / double(starts.size());
        fit.fineShare = double(onFineGrid) / double(starts.size());
        return fit;
    }

    // The offsets worth trying: up to half a sixteenth either way, in steps of a tick, or coarser
    // when a quarter has thousands of ticks.
    int reach() const { return int(m_sixteenth / 2); }
    int step() const { return std::max(1, reach() / mostOffsetsEachWay); }

private:
    static double distanceFrom(qint64 time, double step) {
        const double rest = std::fmod(double(time), step);
        return std::min(rest, step - rest);
    }

    double m_thirtySecond;
    double m_sixteenth;
    double m_triplet;
    double m_tolerance;
};

} // namespace

std::optional<MidiTiming> MidiTiming::of(const MidiFile& file) {
    const auto ticksPerQuarter = file.ticksPerQuarter();
    const QList<qint64> starts = noteStarts(file);
    if (!ticksPerQuarter || starts.size() < fewestNotes) {
        return std::nullopt;
    }
    const Grid grid(*ticksPerQuarter);
    const Grid::Fit unshifted = grid.fit(starts, 0);
    if (unshifted.fineShare >= sequencedShare && unshifted.straightShare >= 1 - sequencedShare) {
        return MidiTiming{.kind = Kind::sequenced, .gridOffset = 0};
    }
    QList<Grid::Fit> fits{unshifted};
    for (int offset = grid.step(); offset <= grid.reach(); offset += grid.step()) {
        fits.append(grid.fit(starts, offset));
        fits.append(grid.fit(starts, -offset));
    }
    const double mostOnGrid = std::ranges::max(fits, {}, &Grid::Fit::share).share;
    // No shift unless one puts clearly more notes on the grid. Of the offsets that put (almost)
    // the most there: the one with the most on sixteenths, then the one closest to the grid's
    // points, then the smallest.
    const auto isBetter = [](const Grid::Fit& a, const Grid::Fit& b) {
        if (std::abs(a.straightShare - b.straightShare) > 0.005) {
            return a.straightShare > b.straightShare;
        }
        if (a.distance != b.distance) {
            return a.distance < b.distance;
        }
        return std::abs(a.offset) < std::abs(b.offset);
    };
    Grid::Fit best = unshifted;
    if (unshifted.share < mostOnGrid - 0.05) {
        best = *std::ranges::find_if(
            fits, [&](const Grid::Fit& fit) { return fit.share >= mostOnGrid - 0.005; });
        for (const Grid::Fit& fit : fits) {
            if (fit.share >= mostOnGrid - 0.005 && isBetter(fit, best)) {
                best = fit;
            }
        }
    }
    if (best.share < sequencedShare) {
        return MidiTiming{.kind = Kind::played, .gridOffset = 0};
    }
    return MidiTiming{.kind = Kind::sequenced, .gridOffset = best.offset};
}

} // namespace velmarto
