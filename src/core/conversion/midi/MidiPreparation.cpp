#include "core/conversion/midi/MidiPreparation.h"

#include "core/conversion/InputFile.h"
#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"
#include "core/conversion/midi/PlayedMidiQuantiser.h"
#include "core/conversion/midi/Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace velmarto {

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

bool holdsNotes(QByteArrayView track) {
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        if (reader.event().isNoteOn()) {
            return true;
        }
    }
    return false;
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
                              Windows1252::decode(event.data).toUtf8());
        } else {
            writer.appendRaw(event.delta, event.raw);
        }
    }
    writer.appendBytes(reader.remainder());
    return writer.bytes();
}

} // namespace

std::optional<QByteArray> MidiPreparation::prepared(QByteArrayView original, const QString& title,
                                                    std::optional<bool> played) {
    auto file = MidiFile::parse(original);
    if (!file) {
        return std::nullopt;
    }
    if (const auto score = PlayedMidiQuantiser::quantised(*file, played)) {
        file = MidiFile::parse(*score);
    }
    const QByteArray titleBytes = title.toUtf8();
    bool titlePlaced = title.isEmpty();
    for (MidiFile::Chunk& chunk : file->chunks()) {
        if (!chunk.isTrack()) {
            continue;
        }
        const bool isTitleTrack = !titlePlaced && holdsNotes(chunk.data);
        titlePlaced = titlePlaced || isTitleTrack;
        chunk.data = rewritten(chunk.data, titleBytes, isTitleTrack);
    }
    return file->serialize();
}

bool MidiPreparation::prepare(const QString& source, const QString& target, const QString& title,
                              std::optional<bool> played) {
    const auto original = inputfile::read(source, maximumFileSize);
    if (!original || original->size() > maximumFileSize) {
        return false;
    }
    const auto copy = prepared(*original, title, played);
    if (!copy) {
        return false;
    }
    QSaveFile output(target);
    return output.open(QIODevice::WriteOnly) && output.write(*copy) == copy->size() &&
           output.commit();
}

} // namespace velmarto
