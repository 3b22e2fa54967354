#include "core/conversion/midi/MidiPreparation.h"

#include "core/conversion/InputFile.h"
#include "core/conversion/midi/MidiEdits.h"
#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackShift.h"
#include "core/conversion/midi/MidiTrackWriter.h"
#include "core/conversion/midi/PlayedMidiQuantiser.h"
#include "core/conversion/midi/TrackKey.h"
#include "core/conversion/midi/Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace velmarto::midipreparation {

namespace {

constexpr quint8 titleEvent = 0x10;

bool isTextEvent(quint8 metaType) {
    return metaType >= 0x01 && metaType <= 0x09;
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool holdsTitle(QByteArrayView track) {
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        if (reader.event().kind == MidiEvent::Kind::meta && reader.event().metaType == titleEvent) {
            return true;
        }
    }
    return false;
}

QByteArray rewritten(QByteArrayView track, const QByteArray& title, bool isTitleTrack) {
    MidiTrackWriter writer;
    if (isTitleTrack && !holdsTitle(track)) {
        writer.appendMeta(0, titleEvent, title);
    }
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        const bool isMeta = event.kind == MidiEvent::Kind::meta;
        if (isMeta && isTitleTrack && event.metaType == titleEvent) {
            writer.appendMeta(event.delta, titleEvent, title);
        } else if (isMeta && isTextEvent(event.metaType) && !isUtf8(event.data)) {
            writer.appendMeta(event.delta, event.metaType,
                              windows1252::decode(event.data).toUtf8());
        } else {
            writer.appendRaw(event.delta, event.raw);
        }
    }
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

std::optional<trackkey::Signature> firstSignature(const MidiFile& file) {
    for (const MidiFile::Chunk& chunk : file.chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        if (const auto signatures = trackkey::signaturesIn(chunk.data); !signatures.isEmpty()) {
            return signatures.first();
        }
    }
    return std::nullopt;
}

bool holdsPitchedNotes(const trackkey::PitchClassCounts& counts) {
    return std::ranges::any_of(counts, [](qint64 count) { return count != 0; });
}

// A track that changes key keeps its keys, and so does one whose key fits already or that has
// nothing but drums.
QByteArray withBestKey(const QByteArray& track, std::optional<trackkey::Signature> fileSignature) {
    const trackkey::PitchClassCounts counts = trackkey::countsOf(track);
    if (!holdsPitchedNotes(counts)) {
        return track;
    }
    const QList<trackkey::Signature> own = trackkey::signaturesIn(track);
    if (std::ranges::any_of(own, [&](const auto& signature) { return signature != own.first(); })) {
        return track;
    }
    const auto given = own.isEmpty() ? fileSignature : std::optional(own.first());
    const int sharps =
        trackkey::bestSharps(counts, given ? std::optional(given->sharps) : std::nullopt);
    if (!own.isEmpty() && own.first().sharps == sharps) {
        return track;
    }
    return trackkey::withSignature(
        track, {.sharps = sharps, .mode = given && given->sharps == sharps ? given->mode : 0});
}

// The key the user chose, or the file's own (the track's, else the first in the file), in a track
// with notes other than drums; the best fitting key when neither is asked for.
QByteArray withKey(const QByteArray& track, const ImportOptions::Key& choice,
                   std::optional<trackkey::Signature> fileSignature) {
    if (std::holds_alternative<std::monostate>(choice)) {
        return withBestKey(track, fileSignature);
    }
    if (!holdsPitchedNotes(trackkey::countsOf(track))) {
        return track;
    }
    if (const auto* chosen = std::get_if<trackkey::Signature>(&choice)) {
        return trackkey::withSignature(track, *chosen);
    }
    if (!trackkey::signaturesIn(track).isEmpty() || !fileSignature) {
        return track;
    }
    return trackkey::withSignature(track, *fileSignature);
}

} // namespace

std::optional<Prepared> prepared(QByteArrayView original, const QString& title,
                                 const ImportOptions& import) {
    auto file = MidiFile::parse(original);
    if (!file) {
        return std::nullopt;
    }
    const int tracksWithNotes = midiedits::keepTracks(*file, import.tracks);
    if (const auto* meter = std::get_if<TimeSignature>(&import.meter)) {
        midiedits::setTimeSignature(*file, *meter);
    }
    if (const auto score = playedmidiquantiser::quantised(*file, import.played, import.meter)) {
        file = MidiFile::parse(*score);
    }
    const auto timing = MidiTiming::of(*file);
    const int shift =
        timing && timing->kind == MidiTiming::Kind::sequenced ? -timing->gridOffset : 0;
    const auto fileSignature = firstSignature(*file);
    const QByteArray titleBytes = title.toUtf8();
    bool titlePlaced = title.isEmpty();
    for (MidiFile::Chunk& chunk : file->chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        const bool isTitleTrack = !titlePlaced && trackHoldsNotes(chunk.data);
        titlePlaced = titlePlaced || isTitleTrack;
        chunk.data = rewritten(chunk.data, titleBytes, isTitleTrack);
        if (shift != 0) {
            chunk.data = miditrackshift::shifted(chunk.data, shift);
        }
        chunk.data = withKey(chunk.data, import.key, fileSignature);
    }
    if (import.shortestNote) {
        midiedits::snapToGrid(*file, *import.shortestNote);
    }
    if (import.splitPiano == true) {
        midiedits::splitPianoTracks(*file);
    }
    return Prepared{
        .bytes = file->serialize(), .timing = timing, .tracksWithNotes = tracksWithNotes};
}

std::optional<Prepared> prepare(const QString& source, const QString& target, const QString& title,
                                const ImportOptions& import) {
    const auto original = inputfile::read(source, maximumFileSize);
    if (!original || original->size() > maximumFileSize) {
        return std::nullopt;
    }
    auto copy = prepared(*original, title, import);
    QSaveFile output(target);
    if (!copy || !output.open(QIODevice::WriteOnly) ||
        output.write(copy->bytes) != copy->bytes.size() || !output.commit()) {
        return std::nullopt;
    }
    return copy;
}

} // namespace velmarto::midipreparation
