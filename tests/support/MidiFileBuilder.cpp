#include "support/MidiFileBuilder.h"

#include "core/conversion/midi/MidiTrackWriter.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace velmarto::test {

namespace {

struct Played {
    double onset;
    double offset;
    int pitch;
    int velocity;
};

// One track as a MIDI piano records it: every onset and release in seconds at 960 ticks a second,
// under the 4/4 that recorders write into every file.
QByteArray recordingOf(const QList<Played>& notes) {
    struct Event {
        int tick;
        QByteArray bytes;
    };
    QList<Event> events;
    for (const Played& note : notes) {
        events.append({int(std::lround(note.onset * 960)),
                       QByteArray::fromHex("90") + char(note.pitch) + char(note.velocity)});
        events.append({int(std::lround(note.offset * 960)),
                       QByteArray::fromHex("80") + char(note.pitch) + char(0)});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& first, const Event& second) {
        return first.tick < second.tick;
    });
    MidiTrackWriter track;
    track.appendMeta(0, 0x58, QByteArray::fromHex("04021808"));
    int last = 0;
    for (const Event& event : std::as_const(events)) {
        track.appendRaw(quint32(event.tick - last), event.bytes);
        last = event.tick;
    }
    track.appendMeta(0, 0x2f, {});
    QByteArray file = QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk";
    for (int shift = 24; shift >= 0; shift -= 8) {
        file += char((track.bytes().size() >> shift) & 0xff);
    }
    return file + track.bytes();
}

void appendVariableLength(QByteArray& out, quint32 value) {
    QByteArray bytes(1, char(value & 0x7f));
    while ((value >>= 7) != 0) {
        bytes.prepend(char((value & 0x7f) | 0x80));
    }
    out += bytes;
}

void appendBigEndian(QByteArray& out, quint32 value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out += char((value >> shift) & 0xff);
    }
}

void appendMetaText(QByteArray& out, char type, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    out += char(0x00);
    out += char(0xff);
    out += type;
    appendVariableLength(out, quint32(bytes.size()));
    out += bytes;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    QByteArray out(type, 4);
    appendBigEndian(out, quint32(data.size()), 4);
    return out + data;
}

} // namespace

MidiFileBuilder& MidiFileBuilder::tempo(int beatsPerMinute) {
    m_microsecondsPerQuarter = 60000000 / beatsPerMinute;
    return *this;
}

MidiFileBuilder& MidiFileBuilder::key(int sharps) {
    m_sharps = sharps;
    return *this;
}

MidiFileBuilder& MidiFileBuilder::timedTrack(const QString& name, const QList<TimedNote>& notes,
                                             int channel) {
    struct Change {
        int time;
        bool isOn;
        int pitch;
    };
    QList<Change> changes;
    for (const TimedNote& note : notes) {
        changes.append({note.start, true, note.pitch});
        changes.append({note.start + note.ticks, false, note.pitch});
    }
    // A note that ends where another of the same pitch begins is released first.
    std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.time != b.time ? a.time < b.time : !a.isOn && b.isOn;
    });
    QByteArray events;
    appendMetaText(events, 0x03, name);
    int now = 0;
    for (const Change& change : changes) {
        appendVariableLength(events, quint32(change.time - now));
        now = change.time;
        events += char((change.isOn ? 0x90 : 0x80) | channel);
        events += char(change.pitch);
        events += char(change.isOn ? 80 : 0);
    }
    events += QByteArray::fromHex("00ff2f00");
    m_tracks << events;
    return *this;
}

MidiFileBuilder& MidiFileBuilder::track(const QString& name, const QList<Note>& notes, int channel,
                                        const QList<Text>& texts) {
    return trackOf(name, notes, {{channel, 0}}, texts);
}

MidiFileBuilder& MidiFileBuilder::doubledTrack(const QString& name, const QList<Note>& notes,
                                               int channel, int doublingChannel) {
    return trackOf(name, notes, {{channel, 0}, {doublingChannel, -12}}, {});
}

MidiFileBuilder& MidiFileBuilder::trackOf(const QString& name, const QList<Note>& notes,
                                          const QList<Voice>& voices, const QList<Text>& texts) {
    QByteArray events;
    appendMetaText(events, 0x03, name);
    for (const Text& text : texts) {
        appendMetaText(events, char(text.kind), text.text);
    }
    for (const Note& note : notes) {
        if (!note.lyric.isEmpty()) {
            appendMetaText(events, 0x05, note.lyric);
        }
        for (const Voice& voice : voices) {
            events += char(0x00);
            events += char(0x90 | voice.channel);
            events += char(note.pitch + voice.transposition);
            events += char(80);
        }
        bool first = true;
        for (const Voice& voice : voices) {
            appendVariableLength(events, first ? quint32(note.ticks) : 0);
            first = false;
            events += char(0x80 | voice.channel);
            events += char(note.pitch + voice.transposition);
            events += char(0);
        }
    }
    events += QByteArray::fromHex("00ff2f00");
    m_tracks << events;
    return *this;
}

QByteArray MidiFileBuilder::build() const {
    QByteArray conductor = QByteArray::fromHex("00ff5103");
    appendBigEndian(conductor, quint32(m_microsecondsPerQuarter), 3);
    conductor += QByteArray::fromHex("00ff580404021808");
    if (m_sharps) {
        conductor += QByteArray::fromHex("00ff5902");
        conductor += char(*m_sharps);
        conductor += char(0);
    }
    conductor += QByteArray::fromHex("00ff2f00");

    QByteArray header;
    appendBigEndian(header, 1, 2);
    appendBigEndian(header, quint32(m_tracks.size() + 1), 2);
    appendBigEndian(header, ticksPerQuarter, 2);

    QByteArray file = chunk("MThd", header) + chunk("MTrk", conductor);
    for (const QByteArray& track : m_tracks) {
        file += chunk("MTrk", track);
    }
    return file;
}

bool MidiFileBuilder::writeTo(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(build()) >= 0;
}

MidiFileBuilder MidiFileBuilder::twoTrackTune() {
    const QList<Note> melody = {{72, 480}, {74, 480}, {76, 480}, {77, 480}, {79, 960},
                                {77, 480}, {76, 480}, {74, 960}, {72, 960}};
    const QList<Note> bass = {{48, 960}, {43, 960}, {48, 960}, {43, 960}, {48, 1920}};
    MidiFileBuilder builder;
    builder.tempo(96)
        .track(QStringLiteral("Melody"), melody, 0)
        .track(QStringLiteral("Bass"), bass, 1);
    return builder;
}

MidiFileBuilder MidiFileBuilder::scale(int bars) {
    static constexpr int steps[] = {0, 2, 4, 5, 7, 9, 11, 12};
    QList<Note> notes;
    for (int index = 0; index < bars * 4; ++index) {
        notes.append({60 + steps[index % 8], 480});
    }
    MidiFileBuilder builder;
    builder.track(QStringLiteral("Scale"), notes);
    return builder;
}

QByteArray MidiFileBuilder::playedWaltz(int bars, int firstBeat) {
    QRandomGenerator random(7);
    QList<Played> notes;
    double time = 0.3;
    for (int beat = firstBeat; beat < bars * 3; ++beat) {
        const double period = 0.55 + 0.08 * std::sin(beat / 5.0);
        const auto jitter = [&] { return (random.bounded(30) - 15) / 1000.0; };
        if (beat % 3 == 0) {
            notes.append({time + jitter(), time + 2.6 * period, 36 + beat % 7, 100});
        } else {
            notes.append({time + jitter(), time + 0.8 * period, 55, 50});
            notes.append({time + jitter(), time + 0.8 * period, 59, 45});
        }
        notes.append({time + jitter(), time + 0.45 * period, 72 + beat % 5, 70});
        notes.append({time + period / 2 + jitter(), time + 0.95 * period, 74 + beat % 4, 60});
        time += period;
    }
    return recordingOf(notes);
}

QByteArray MidiFileBuilder::playedSlowSixteenths(int bars) {
    QRandomGenerator random(11);
    QList<Played> notes;
    double time = 0.3;
    for (int beat = 0; beat < bars * 4; ++beat) {
        const double period = 1.3 + 0.15 * std::sin(beat / 4.0);
        const auto jitter = [&] { return (random.bounded(30) - 15) / 1000.0; };
        notes.append(
            {time + jitter(), time + 0.9 * period, 40 + beat % 5, beat % 4 == 0 ? 95 : 70});
        for (int sixteenth = 0; sixteenth < 4; ++sixteenth) {
            const double onset = time + sixteenth * period / 4;
            notes.append({onset + jitter(), onset + 0.22 * period, 67 + (beat + sixteenth) % 6,
                          sixteenth == 0 ? 75 : 60});
        }
        time += period;
    }
    return recordingOf(notes);
}

} // namespace velmarto::test
