#include "core/conversion/midi/TrackKey.h"

#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"

#include <cstdlib>

namespace velmarto::trackkey {

namespace {

constexpr int drumChannel = 9;
constexpr quint8 keySignature = 0x59;
constexpr int mostAccidentals = 7;

bool isKeySignature(const MidiEvent& event) {
    return event.kind == MidiEvent::Kind::meta && event.metaType == keySignature &&
           event.data.size() == 2;
}

} // namespace

PitchClassCounts countsOf(QByteArrayView track) {
    PitchClassCounts counts{};
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        if (event.isNoteOn() && (event.status & 0x0f) != drumChannel) {
            ++counts[quint8(event.data[0]) % 12];
        }
    }
    return counts;
}

qint64 notesOutside(const PitchClassCounts& counts, int sharps) {
    static constexpr int majorScale[] = {0, 2, 4, 5, 7, 9, 11};
    // Each sharp moves the tonic a fifth up, each flat a fifth down.
    const int tonic = ((sharps * 7) % 12 + 12) % 12;
    qint64 outside = 0;
    for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
        outside += counts[std::size_t(pitchClass)];
    }
    for (const int step : majorScale) {
        outside -= counts[std::size_t((tonic + step) % 12)];
    }
    return outside;
}

int bestSharps(const PitchClassCounts& counts, std::optional<int> fileSharps) {
    if (fileSharps && std::abs(*fileSharps) > mostAccidentals) {
        fileSharps.reset();
    }
    int best = fileSharps.value_or(0);
    qint64 fewest = notesOutside(counts, best);
    // Outwards from C, so that of two keys that fit alike the one with fewer accidentals wins.
    for (int accidentals = 0; accidentals <= mostAccidentals; ++accidentals) {
        for (const int sharps : {accidentals, -accidentals}) {
            const qint64 outside = notesOutside(counts, sharps);
            if (outside < fewest) {
                best = sharps;
                fewest = outside;
            }
        }
    }
    return best;
}

QList<Signature> signaturesIn(QByteArrayView track) {
    QList<Signature> signatures;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        if (isKeySignature(reader.event())) {
            signatures.append({.sharps = qint8(reader.event().data[0]),
                               .mode = quint8(reader.event().data[1]) == 1 ? 1 : 0});
        }
    }
    return signatures;
}

QByteArray withSignature(QByteArrayView track, Signature signature) {
    MidiTrackWriter writer;
    QByteArray payload(2, '\0');
    payload[0] = char(qint8(signature.sharps));
    payload[1] = char(signature.mode);
    writer.appendMeta(0, keySignature, payload);
    // A dropped event's time goes to the one after it, so nothing else moves.
    quint32 pendingDelta = 0;
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        if (isKeySignature(event)) {
            pendingDelta += event.delta;
        } else {
            writer.appendRaw(pendingDelta + event.delta, event.raw);
            pendingDelta = 0;
        }
    }
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

} // namespace velmarto::trackkey
