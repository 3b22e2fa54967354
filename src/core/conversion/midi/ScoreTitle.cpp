#include "core/conversion/midi/ScoreTitle.h"

#include "core/conversion/InputFile.h"
#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiPreparation.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/Windows1252.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

constexpr quint8 trackNameEvent = 0x03;

QString textOf(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return (decoder.hasError() ? windows1252::decode(bytes) : text).simplified();
}

bool saysNothing(const QString& name) {
    static const QRegularExpression generic(
        u"^(?:untitled|unnamed|no name|new song|song|title|track|sequence|seq\\.?|midi|"
        u"(?:tempo|conductor|master|control|meta)(?: track)?)?[\\s\\-_#:.]*\\d*$"_s,
        QRegularExpression::CaseInsensitiveOption);
    return generic.match(name).hasMatch() ||
           std::ranges::none_of(name, [](QChar character) { return character.isLetter(); });
}

} // namespace

QString ScoreTitle::textFor(const QString& midiPath) const {
    switch (m_source) {
    case Source::fileName:
        if (QString song = songTitleIn(midiPath); !song.isEmpty()) {
            return song;
        }
        return readableFileName(midiPath);
    case Source::custom:
        return m_text.simplified();
    case Source::none:
        break;
    }
    return {};
}

QString ScoreTitle::readableFileName(const QString& midiPath) {
    QString words = QFileInfo(midiPath).completeBaseName();
    words.replace(u'_', u' ');
    words = words.simplified();
    bool startOfWord = true;
    for (QChar& character : words) {
        if (startOfWord) {
            character = character.toUpper();
        }
        startOfWord = character == u' ';
    }
    return words;
}

QString ScoreTitle::songTitleIn(const QString& midiPath) {
    const auto bytes = inputfile::read(midiPath, midipreparation::maximumFileSize);
    if (!bytes) {
        return {};
    }
    const auto midi = MidiFile::parse(*bytes);
    if (!midi) {
        return {};
    }
    const auto firstTrack = std::ranges::find_if(
        midi->chunks(), [](const MidiFile::Chunk& chunk) { return chunk.isTrack(); });
    if (firstTrack == midi->chunks().cend()) {
        return {};
    }
    QString name;
    MidiTrackReader reader(firstTrack->data);
    while (reader.readNext()) {
        const MidiEvent& event = reader.event();
        if (event.isNoteOn()) {
            return {};
        }
        if (name.isEmpty() && event.kind == MidiEvent::Kind::meta &&
            event.metaType == trackNameEvent) {
            name = textOf(event.data);
        }
    }
    return saysNothing(name) ? QString() : name;
}

} // namespace velmarto
