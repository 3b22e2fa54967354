#include "core/conversion/midi/MidiTiming.h"

#include "core/conversion/midi/MidiTrackReader.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace velmarto {

namespace {

constexpr qsizetype fewestNotes = 16;

QList<qint64> noteStarts(const MidiFile& file) {
    QList<qint64> starts;
    for (const MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        MidiTrackReader reader(chunk.data);
        qint64 time = 0;
        while (reader.readNext()) {
            time += reader.event().delta;
            if (reader.event().isNoteOn()) {
                starts.append(time);
            }
        }
    }
    return starts;
}

// The grid is every sixteenth and every sixteenth triplet; a note within a 48th of a quarter of
// one of its points is on it, which leaves room for a sequencer's rounding but not for a hand.
class Grid {
public:
    explicit Grid(int ticksPerQuarter)
        : m_sixteenth(ticksPerQuarter / 4.0)
        , m_triplet(ticksPerQuarter / 6.0)
        , m_tolerance(std::max(1.0, ticksPerQuarter / 48.0)) {}

    struct Fit {
        double share = 0;
        // How far the notes on the grid are from its points, all together: among offsets that
        // put as many notes on it, the true one leaves the least.
        double distance = 0;
    };

    Fit fit(const QList<qint64>& starts, int offset) const {
        Fit fit;
        qsizetype onGrid = 0;
        for (const qint64 start : starts) {
            const double distance = distanceFrom(start - offset);
            if (distance <= m_tolerance) {
                ++onGrid;
                fit.distance += distance;
            }
        }
        fit.share = double(onGrid) / double(starts.size());
        return fit;
    }

    // The offsets worth trying: up to half a sixteenth either way.
    int reach() const { return int(m_sixteenth / 2); }

private:
    double distanceFrom(qint64 time) const {
        return std::min(distanceFrom(time, m_sixteenth), distanceFrom(time, m_triplet));
    }
    static double distanceFrom(qint64 time, double step) {
        const double rest = std::fmod(double(time), step);
        return std::min(rest, step - rest);
    }

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
    QList<Grid::Fit> fits;
    for (int offset = -grid.reach(); offset <= grid.reach(); ++offset) {
        fits.append(grid.fit(starts, offset));
    }
    const double mostOnGrid = std::ranges::max(fits, {}, &Grid::Fit::share).share;
    // Of the offsets that put (almost) the most notes on the grid, the one that puts them closest
    // to its points; none at all unless a shift puts clearly more notes on it.
    qsizetype chosen = grid.reach();
    if (fits[chosen].share < mostOnGrid - 0.05) {
        std::optional<qsizetype> closest;
        for (qsizetype index = 0; index < fits.size(); ++index) {
            if (fits[index].share >= mostOnGrid - 0.005 &&
                (!closest || fits[index].distance < fits[*closest].distance)) {
                closest = index;
            }
        }
        chosen = *closest;
    }
    const Grid::Fit best = fits[chosen];
    const int bestOffset = int(chosen) - grid.reach();
    if (best.share < sequencedShare) {
        return MidiTiming{.kind = Kind::played, .gridOffset = 0};
    }
    return MidiTiming{.kind = Kind::sequenced, .gridOffset = bestOffset};
}

} // namespace velmarto
