#include "core/conversion/midi/MidiEdits.h"

#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <functional>

namespace velmarto::midiedits {

namespace {

constexpr int drumChannel = 9;
constexpr int middleC = 60;
// General MIDI's pianos, from the acoustic grand to the clavinet.
constexpr int lastPianoProgram = 7;
constexpr quint8 trackName = 0x03;
constexpr quint8 tempo = 0x51;
constexpr quint8 smpteOffset = 0x54;
constexpr quint8 timeSignature = 0x58;
constexpr quint8 keySignature = 0x59;
constexpr quint8 endOfTrack = 0x2f;

bool isMeta(const MidiEvent& event, quint8 type) {
    return event.kind == MidiEvent::Kind::meta && event.metaType == type;
}

// A channel event as stored without running status.
QByteArray withStatus(const MidiEvent& event) {
    QByteArray bytes(1, char(event.status));
    bytes.append(event.data);
    return bytes;
}

// The track with only the events kept, each channel event with its status byte, since a
// dropped one may have carried the status the next relied on. A dropped event's time goes to the
// next kept one, so nothing moves.
QByteArray filtered(QByteArrayView track, const std::function<bool(const MidiEvent&)>& keep) {
    MidiTrackWriter writer;
    quint32 pendingDelta = 0;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        pendingDelta += event.delta;
        if (!keep(event)) {
            continue;
        }
        if (event.kind == MidiEvent::Kind::channel) {
            writer.appendRaw(pendingDelta, withStatus(event));
        } else {
            writer.appendRaw(pendingDelta, event.raw);
        }
        pendingDelta = 0;
    }
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

// The events that carry a pitch: note off, note on, key pressure.
bool carriesPitch(const MidiEvent& event) {
    const int type = event.status & 0xf0;
    return event.kind == MidiEvent::Kind::channel && type >= 0x80 && type <= 0xa0 &&
           !event.data.isEmpty();
}

struct Playing {
    bool isPianoOnOneChannel = true;
    bool hasLow = false;
    bool hasHigh = false;
};

Playing playingOf(QByteArrayView track) {
    Playing playing;
    std::optional<int> channel;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        if (event.kind != MidiEvent::Kind::channel) {
            continue;
        }
        const int eventChannel = event.status & 0x0f;
        const bool isProgramChange = (event.status & 0xf0) == 0xc0 && !event.data.isEmpty();
        if ((channel && *channel != eventChannel) || eventChannel == drumChannel ||
            (isProgramChange && quint8(event.data[0]) > lastPianoProgram)) {
            playing.isPianoOnOneChannel = false;
        }
        channel = eventChannel;
        if (event.isNoteOn()) {
            (quint8(event.data[0]) < middleC ? playing.hasLow : playing.hasHigh) = true;
        }
    }
    return playing;
}

bool isNoteOff(const MidiEvent& event) {
    const int type = event.status & 0xf0;
    return event.kind == MidiEvent::Kind::channel && event.data.size() == 2 &&
           (type == 0x80 || (type == 0x90 && event.data[1] == 0));
}

// One event of a track at its time from the track's start, for a track rebuilt in a new order.
struct Timed {
    qint64 time;
    // Ends of notes go before anything else at the same time, starts after it, so a key struck
    // again where it was let go sounds again.
    int rank;
    QByteArray bytes;
};

constexpr int endRank = 0;
constexpr int otherRank = 1;
constexpr int startRank = 2;

qint64 nearestStep(qint64 time, qint64 step) {
    return (time + step / 2) / step * step;
}

QByteArray snapped(QByteArrayView track, qint64 step) {
    QList<Timed> events;
    // The sounding notes of each key, as indexes of their start in events, oldest first.
    QHash<int, QList<qsizetype>> sounding;
    qint64 now = 0;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        now += event.delta;
        if (isMeta(event, endOfTrack)) {
            continue;
        }
        const QByteArray bytes =
            event.kind == MidiEvent::Kind::channel ? withStatus(event) : event.raw.toByteArray();
        const int key = event.kind == MidiEvent::Kind::channel && event.data.size() == 2
                            ? ((event.status & 0x0f) << 8) | quint8(event.data[0])
                            : -1;
        if (event.isNoteOn()) {
            const qint64 start = nearestStep(now, step);
            QList<qsizetype>& open = sounding[key];
            const bool struckTwice = std::ranges::any_of(
                open, [&](qsizetype index) { return events.at(index).time == start; });
            if (!struckTwice) {
                open.append(events.size());
                events.append({start, startRank, bytes});
            } else {
                open.append(-1);
            }
        } else if (isNoteOff(event) && sounding.contains(key) && !sounding[key].isEmpty()) {
            const qsizetype startIndex = sounding[key].takeFirst();
            if (startIndex >= 0) {
                const qint64 start = events.at(startIndex).time;
                events.append({std::max(nearestStep(now, step), start + step), endRank, bytes});
            }
        } else {
            events.append({now, otherRank, bytes});
        }
    }
    std::ranges::stable_sort(events, [](const Timed& first, const Timed& second) {
        return first.time != second.time ? first.time < second.time : first.rank < second.rank;
    });
    MidiTrackWriter writer;
    qint64 written = 0;
    for (const Timed& event : std::as_const(events)) {
        writer.appendRaw(quint32(event.time - written), event.bytes);
        written = event.time;
    }
    writer.appendMeta(quint32(std::max<qint64>(0, now - written)), endOfTrack, {});
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

} // namespace

void snapToGrid(MidiFile& file, int noteValue) {
    const auto ticksPerQuarter = file.ticksPerQuarter();
    if (!ticksPerQuarter || noteValue < 1) {
        return;
    }
    const qint64 step = std::max<qint64>(1, qint64{*ticksPerQuarter} * 4 / noteValue);
    for (MidiFile::Chunk& chunk : file.chunks()) {
        if (chunk.isTrack()) {
            chunk.data = snapped(chunk.data, step);
        }
    }
}

int keepTracks(MidiFile& file, const QList<int>& chosen) {
    int number = 0;
    for (MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack() || !trackHoldsNotes(chunk.data)) {
            continue;
        }
        ++number;
        if (chosen.isEmpty() || chosen.contains(number)) {
            continue;
        }
        chunk.data = filtered(chunk.data, [](const MidiEvent& event) {
            return isMeta(event, tempo) || isMeta(event, smpteOffset) ||
                   isMeta(event, timeSignature) || isMeta(event, keySignature) ||
                   isMeta(event, endOfTrack);
        });
    }
    return number;
}

void setTimeSignature(MidiFile& file, TimeSignature signature) {
    bool isFirstTrack = true;
    for (MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        QByteArray rest = filtered(
            chunk.data, [](const MidiEvent& event) { return !isMeta(event, timeSignature); });
        if (isFirstTrack) {
            // Numerator, the denominator's power of two, a click every quarter, eight 32nds to
            // the quarter.
            const char payload[] = {char(signature.numerator),
                                    char(std::countr_zero(unsigned(signature.denominator))), 24, 8};
            MidiTrackWriter writer;
            writer.appendMeta(0, timeSignature, QByteArrayView(payload, sizeof payload));
            rest.prepend(writer.bytes());
        }
        chunk.data = rest;
        isFirstTrack = false;
    }
}

void splitPianoTracks(MidiFile& file) {
    for (qsizetype index = 0; index < file.chunks().size(); ++index) {
        const MidiFile::Chunk chunk = file.chunks().at(index);
        if (!chunk.isTrack()) {
            continue;
        }
        const Playing playing = playingOf(chunk.data);
        if (!playing.isPianoOnOneChannel || !playing.hasLow || !playing.hasHigh) {
            continue;
        }
        const auto isLow = [](const MidiEvent& event) {
            return carriesPitch(event) && quint8(event.data[0]) < middleC;
        };
        const QByteArray lower = filtered(chunk.data, [&](const MidiEvent& event) {
            return (event.kind == MidiEvent::Kind::channel &&
                    (!carriesPitch(event) || isLow(event))) ||
                   isMeta(event, trackName) || isMeta(event, endOfTrack);
        });
        if (!file.insertTrack(index + 1, lower)) {
            return;
        }
        file.chunks()[index].data =
            filtered(chunk.data, [&](const MidiEvent& event) { return !isLow(event); });
        ++index;
    }
}

} // namespace velmarto::midiedits
