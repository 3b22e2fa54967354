#include "core/conversion/midi/MidiTrackShift.h"

#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace velmarto {

namespace {

constexpr quint8 endOfTrack = 0x2f;

bool keepsItsTime(const MidiEvent& event) {
    static constexpr quint8 beatEvents[] = {0x51, 0x54, 0x58, 0x59};
    return event.kind == MidiEvent::Kind::meta &&
           std::ranges::find(beatEvents, event.metaType) != std::end(beatEvents);
}

struct TimedEvent {
    qint64 time;
    // The whole event with its status byte: moved events may no longer follow the one whose
    // running status they relied on.
    QByteArray bytes;
};

} // namespace

QByteArray MidiTrackShift::shifted(QByteArrayView track, int ticks) {
    QList<TimedEvent> events;
    qint64 time = 0;
    qint64 end = 0;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        time += event.delta;
        const qint64 movedTime =
            time == 0 || keepsItsTime(event) ? time : std::max<qint64>(0, time + ticks);
        if (event.kind == MidiEvent::Kind::meta && event.metaType == endOfTrack) {
            end = movedTime;
            break;
        }
        QByteArray bytes = event.raw.toByteArray();
        if (event.kind == MidiEvent::Kind::channel && event.raw.size() == event.data.size()) {
            bytes.prepend(char(event.status));
        }
        events.append({movedTime, std::move(bytes)});
    }
    std::ranges::stable_sort(events, {}, &TimedEvent::time);

    MidiTrackWriter writer;
    qint64 now = 0;
    for (const TimedEvent& event : events) {
        writer.appendRaw(quint32(event.time - now), event.bytes);
        now = event.time;
    }
    writer.appendMeta(quint32(std::max(end, now) - now), endOfTrack, {});
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

} // namespace velmarto
