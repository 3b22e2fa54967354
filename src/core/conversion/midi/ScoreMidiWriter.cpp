#include "core/conversion/midi/ScoreMidiWriter.h"

#include "core/conversion/midi/MidiTrackWriter.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

namespace velmarto::scoremidiwriter {

namespace {

constexpr quint8 tempoEvent = 0x51;
constexpr quint8 timeSignatureEvent = 0x58;
constexpr quint8 keySignatureEvent = 0x59;
constexpr quint8 endOfTrack = 0x2f;
// Beats either side whose median sets the pace, and the share by which it must move.
constexpr qsizetype tempoWindow = 6;
constexpr double tempoChange = 0.12;

QByteArray bytesOf(std::initializer_list<char> bytes) {
    return QByteArray(std::data(bytes), qsizetype(bytes.size()));
}

void appendChunk(QByteArray& out, QByteArrayView type, const QByteArray& data) {
    out += type;
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    out += QByteArrayView(length, 4);
    out += data;
}

QByteArray tempoPayload(double secondsPerQuarter) {
    const auto microseconds =
        quint32(std::clamp(secondsPerQuarter * 1e6, 60000.0, double(0xffffff)));
    return bytesOf(
        {char(microseconds >> 16), char((microseconds >> 8) & 0xff), char(microseconds & 0xff)});
}

QByteArray conductorTrack(const Score& score, qint64 pickupTicks) {
    const int beatTicks = ticksPerBeat(score.meter);
    MidiTrackWriter writer;
    const int numerator =
        score.meter.compound ? score.meter.beatsPerBar * 3 : score.meter.beatsPerBar;
    const char denominatorPower = score.meter.compound ? 3 : 2;
    writer.appendMeta(0, timeSignatureEvent,
                      bytesOf({char(numerator), denominatorPower, char(24), char(8)}));
    if (score.keySignature) {
        writer.appendMeta(
            0, keySignatureEvent,
            bytesOf({char(score.keySignature->first), char(score.keySignature->second)}));
    }
    // MuseScore prints a metronome mark for every tempo event, so the tempo follows the player
    // section by section rather than beat by beat: a new tempo, in whole beats a minute, where the
    // pace of the surrounding bars has moved far enough from the last one written.
    const double quartersPerBeat = double(beatTicks) / ticksPerQuarter;
    const qsizetype beatCount = score.beats.size() - 1;
    const auto paceAround = [&](qsizetype beat) {
        QList<double> periods;
        for (qsizetype near = std::max<qsizetype>(0, beat - tempoWindow);
             near < std::min(beatCount, beat + tempoWindow + 1); ++near) {
            periods.append(score.beats.at(near + 1) - score.beats.at(near));
        }
        std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
        return std::round(60 * quartersPerBeat / periods.at(periods.size() / 2));
    };
    qint64 lastTick = 0;
    double lastPace = 0;
    for (qsizetype beat = 0; beat < beatCount; ++beat) {
        const double pace = paceAround(beat);
        if (lastPace > 0 && std::abs(pace - lastPace) < tempoChange * lastPace) {
            continue;
        }
        // The pickup's leading rests play at the first beat's tempo.
        const qint64 tick = beat == 0 ? 0 : pickupTicks + beat * beatTicks;
        writer.appendMeta(quint32(tick - lastTick), tempoEvent, tempoPayload(60 / pace));
        lastTick = tick;
        lastPace = pace;
    }
    writer.appendMeta(0, endOfTrack, {});
    return writer.bytes();
}

QByteArray handTrack(const Score& score, handsplitter::Hand hand, qint64 pickupTicks) {
    struct Event {
        qint64 tick;
        bool on;
        int pitch;
        int velocity;
    };
    QList<Event> events;
    for (qsizetype index = 0; index < score.notes.size(); ++index) {
        if (score.hands.at(index) != hand) {
            continue;
        }
        const QuantisedNote& note = score.notes.at(index);
        events.append({note.start + pickupTicks, true, note.pitch, std::max(1, note.velocity)});
        events.append({note.end + pickupTicks, false, note.pitch, 0});
    }
    // At one tick, a note ends before the next one on the same key starts.
    std::stable_sort(events.begin(), events.end(), [](const Event& first, const Event& second) {
        return first.tick != second.tick ? first.tick < second.tick : !first.on && second.on;
    });
    MidiTrackWriter writer;
    qint64 lastTick = 0;
    for (const Event& event : std::as_const(events)) {
        writer.appendRaw(quint32(event.tick - lastTick),
                         bytesOf({char(event.on ? 0x90 : 0x80), char(event.pitch),
                                  char(event.on ? event.velocity : 64)}));
        lastTick = event.tick;
    }
    writer.appendMeta(0, endOfTrack, {});
    return writer.bytes();
}

} // namespace

QByteArray write(const Score& score) {
    const int beatTicks = ticksPerBeat(score.meter);
    const int beatsPerBar = std::max(1, score.meter.beatsPerBar);
    // The beats before the first downbeat go to the end of a first bar, which starts with rests.
    const qint64 pickupTicks =
        qint64((beatsPerBar - score.meter.firstDownbeat % beatsPerBar) % beatsPerBar) * beatTicks;
    QByteArray header;
    header += QByteArrayView("\x00\x01\x00\x03", 4);
    header += char(ticksPerQuarter >> 8);
    header += char(ticksPerQuarter & 0xff);
    QByteArray out;
    appendChunk(out, "MThd", header);
    appendChunk(out, "MTrk", conductorTrack(score, pickupTicks));
    appendChunk(out, "MTrk", handTrack(score, handsplitter::Hand::right, pickupTicks));
    appendChunk(out, "MTrk", handTrack(score, handsplitter::Hand::left, pickupTicks));
    return out;
}

} // namespace velmarto::scoremidiwriter
