#include "core/conversion/midi/MidiTrackShift.h"

#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace velmarto::miditrackshift {

namespace {

constexpr quint8 endOfTrack = 0x2f;

bool keepsItsTime(const MidiEvent& event, qint64 time) {
    static constexpr quint8 beatEvents[] = {0x51, 0x54, 0x58, 0x59};
    return time == 0 || (event.kind == MidiEvent::Kind::meta &&
                         std::ranges::find(beatEvents, event.metaType) != std::end(beatEvents));
}

// The events of a track that keep their time, or those that move, in their order, each at its
// new time. Moving every one by the same ticks (none before the start) keeps them in order, so
// the two walks merge without holding the track's events in memory.
class EventWalk {
public:
    EventWalk(QByteArrayView track, bool moving, int ticks)
        : m_reader(track)
        , m_moving(moving)
        , m_ticks(ticks) {
        advance();
    }

    std::optional<qint64> time() const { return m_time; }
    const MidiEvent& event() const { return m_reader.event(); }
    std::optional<qint64> endTime() const { return m_endTime; }

    void advance() {
        m_time.reset();
        while (m_reader.readNext()) {
            const MidiEvent& event = m_reader.event();
            m_now += event.delta;
            const qint64 moved = std::max<qint64>(0, m_now + m_ticks);
            if (event.kind == MidiEvent::Kind::meta && event.metaType == endOfTrack) {
                m_endTime = moved;
                return;
            }
            if (keepsItsTime(event, m_now) != m_moving) {
                m_time = m_moving ? moved : m_now;
                return;
            }
        }
    }

private:
    MidiTrackReader m_reader;
    bool m_moving;
    int m_ticks;
    qint64 m_now = 0;
    std::optional<qint64> m_time;
    std::optional<qint64> m_endTime;
};

} // namespace

QByteArray shifted(QByteArrayView track, int ticks) {
    EventWalk kept(track, false, ticks);
    EventWalk moved(track, true, ticks);
    MidiTrackWriter writer;
    qint64 now = 0;
    while (kept.time() || moved.time()) {
        EventWalk& next =
            !moved.time() || (kept.time() && *kept.time() <= *moved.time()) ? kept : moved;
        const MidiEvent& event = next.event();
        // Written with its status byte: a moved event may no longer follow the one whose running
        // status it relied on.
        QByteArray bytes = event.raw.toByteArray();
        if (event.kind == MidiEvent::Kind::channel && event.raw.size() == event.data.size()) {
            bytes.prepend(char(event.status));
        }
        writer.appendRaw(quint32(*next.time() - now), bytes);
        now = *next.time();
        next.advance();
    }
    const qint64 end = std::max({now, moved.endTime().value_or(0)});
    writer.appendMeta(quint32(end - now), endOfTrack, {});
    MidiTrackReader rest(track);
    while (rest.readNext()) {
    }
    writer.appendBytes(rest.remainder());
    return writer.bytes();
}

} // namespace velmarto::miditrackshift
