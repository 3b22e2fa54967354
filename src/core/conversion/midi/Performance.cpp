#include "core/conversion/midi/Performance.h"

#include "core/conversion/midi/MidiTrackReader.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace velmarto {

namespace {

constexpr quint8 tempoEvent = 0x51;
constexpr quint8 timeSignatureEvent = 0x58;
constexpr quint8 keySignatureEvent = 0x59;
constexpr quint8 sustainController = 64;

// Microseconds per quarter note from each tick on; a file without tempo events plays at 120.
class TempoMap {
public:
    TempoMap(const QMap<quint64, quint32>& changes, int ticksPerQuarter)
        : m_ticksPerQuarter(ticksPerQuarter) {
        quint64 tick = 0;
        double seconds = 0;
        quint32 tempo = 500000;
        for (auto change = changes.cbegin(); change != changes.cend(); ++change) {
            seconds += double(change.key() - tick) * tempo / 1e6 / m_ticksPerQuarter;
            tick = change.key();
            tempo = change.value();
            m_segments.append({tick, seconds, tempo});
        }
        if (m_segments.isEmpty() || m_segments.first().tick != 0) {
            m_segments.prepend({0, 0, 500000});
        }
    }

    double secondsAt(quint64 tick) const {
        const auto after = std::upper_bound(
            m_segments.cbegin(), m_segments.cend(), tick,
            [](quint64 value, const Segment& segment) { return value < segment.tick; });
        const Segment& segment = *(after - 1);
        return segment.seconds +
               double(tick - segment.tick) * segment.tempo / 1e6 / m_ticksPerQuarter;
    }

private:
    struct Segment {
        quint64 tick;
        double seconds;
        quint32 tempo;
    };
    int m_ticksPerQuarter;
    QList<Segment> m_segments;
};

struct TickNote {
    quint64 onset;
    quint64 offset;
    int pitch;
    int velocity;
    int channel;
    int track;
};

} // namespace

double Performance::length() const {
    double end = 0;
    for (const PerformedNote& note : notes) {
        end = std::max(end, note.offset);
    }
    return end;
}

std::optional<Performance> Performance::read(const MidiFile& file) {
    const auto ticks = file.ticksPerQuarter();
    if (!ticks) {
        return std::nullopt;
    }
    const int ticksPerQuarter = *ticks;
    Performance performance;
    QMap<quint64, quint32> tempoChanges;
    QList<TickNote> tickNotes;
    QList<std::pair<quint64, quint64>> tickSustain;
    int track = 0;
    for (const MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        // Notes still sounding, per channel and pitch, in the order they started.
        QHash<int, QList<TickNote>> sounding;
        QHash<int, quint64> pedalDownSince;
        quint64 tick = 0;
        MidiTrackReader reader(chunk.data);
        while (reader.readNext()) {
            const MidiEvent& event = reader.event();
            tick += event.delta;
            if (event.kind == MidiEvent::Kind::meta) {
                if (event.metaType == tempoEvent && event.data.size() == 3) {
                    const quint32 tempo = (quint8(event.data[0]) << 16) |
                                          (quint8(event.data[1]) << 8) | quint8(event.data[2]);
                    if (tempo > 0) {
                        tempoChanges.insert(tick, tempo);
                    }
                } else if (event.metaType == timeSignatureEvent && event.data.size() >= 2 &&
                           !performance.timeSignature && quint8(event.data[1]) < 7) {
                    performance.timeSignature =
                        TimeSignature{quint8(event.data[0]), 1 << quint8(event.data[1])};
                } else if (event.metaType == keySignatureEvent && event.data.size() == 2 &&
                           !performance.keySignature) {
                    performance.keySignature = {qint8(event.data[0]), quint8(event.data[1])};
                }
                continue;
            }
            if (event.kind != MidiEvent::Kind::channel || event.data.size() != 2) {
                continue;
            }
            const int type = event.status & 0xf0;
            const int channel = event.status & 0x0f;
            const int key = channel * 128 + quint8(event.data[0]);
            if (event.isNoteOn()) {
                sounding[key].append(
                    {tick, tick, quint8(event.data[0]), quint8(event.data[1]), channel, track});
            } else if ((type == 0x80 || type == 0x90) && !sounding.value(key).isEmpty()) {
                TickNote note = sounding[key].takeFirst();
                note.offset = tick;
                tickNotes.append(note);
            } else if (type == 0xb0 && quint8(event.data[0]) == sustainController) {
                const bool down = quint8(event.data[1]) >= 64;
                if (down && !pedalDownSince.contains(channel)) {
                    pedalDownSince.insert(channel, tick);
                } else if (!down && pedalDownSince.contains(channel)) {
                    tickSustain.append({pedalDownSince.take(channel), tick});
                }
            }
        }
        // A note or pedal the track never releases lasts to its end.
        for (const QList<TickNote>& notes : std::as_const(sounding)) {
            for (TickNote note : notes) {
                note.offset = tick;
                tickNotes.append(note);
            }
        }
        for (const quint64 since : std::as_const(pedalDownSince)) {
            tickSustain.append({since, tick});
        }
        ++track;
    }
    performance.trackCount = track;

    const TempoMap tempoMap(tempoChanges, ticksPerQuarter);
    performance.notes.reserve(tickNotes.size());
    for (const TickNote& note : std::as_const(tickNotes)) {
        performance.notes.append({tempoMap.secondsAt(note.onset), tempoMap.secondsAt(note.offset),
                                  note.pitch, note.velocity, note.channel, note.track});
    }
    std::sort(performance.notes.begin(), performance.notes.end(),
              [](const PerformedNote& first, const PerformedNote& second) {
                  return std::tie(first.onset, first.pitch) < std::tie(second.onset, second.pitch);
              });
    for (const auto& [down, up] : std::as_const(tickSustain)) {
        performance.sustain.append({tempoMap.secondsAt(down), tempoMap.secondsAt(up)});
    }
    std::sort(performance.sustain.begin(), performance.sustain.end());
    return performance;
}

} // namespace velmarto
