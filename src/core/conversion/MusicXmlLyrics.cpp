#include "core/conversion/MusicXmlLyrics.h"

#include "core/conversion/MusicXmlFile.h"

#include <QList>
#include <QStringList>
#include <QXmlStreamReader>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

struct Lyric {
    QString number;
    QStringList texts;

    friend bool operator==(const Lyric&, const Lyric&) = default;
};

// Reads the lyric whose start tag the reader is on, up to and including its end tag.
Lyric readLyric(QXmlStreamReader& reader) {
    Lyric lyric{.number = reader.attributes().value(u"number"_s).toString(), .texts = {}};
    while (reader.readNextStartElement()) {
        if (reader.name() == u"text") {
            lyric.texts.append(reader.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            reader.skipCurrentElement();
        }
    }
    return lyric;
}

struct Span {
    qsizetype from;
    qsizetype to;
};

} // namespace

std::optional<QString> MusicXmlLyrics::withoutRepeats(const QString& musicXml) {
    QXmlStreamReader reader(musicXml);
    QList<Span> repeats;
    QList<Lyric> lyricsOfNote;
    int depth = 0;
    int noteDepth = -1;
    // Where the blank run before the current token begins, so that a removed lyric takes its
    // indentation with it.
    qsizetype blankStart = -1;
    while (!reader.atEnd()) {
        const qsizetype tokenStart = reader.characterOffset();
        reader.readNext();
        if (reader.isWhitespace()) {
            blankStart = blankStart < 0 ? tokenStart : blankStart;
            continue;
        }
        const qsizetype removalStart = blankStart < 0 ? tokenStart : blankStart;
        blankStart = -1;
        if (reader.isStartElement()) {
            ++depth;
            if (reader.name() == u"note") {
                noteDepth = depth;
                lyricsOfNote.clear();
            } else if (reader.name() == u"lyric" && depth == noteDepth + 1) {
                const Lyric lyric = readLyric(reader);
                --depth;
                if (lyricsOfNote.contains(lyric)) {
                    repeats.append({removalStart, reader.characterOffset()});
                } else {
                    lyricsOfNote.append(lyric);
                }
            }
        } else if (reader.isEndElement()) {
            if (depth == noteDepth) {
                noteDepth = -1;
            }
            --depth;
        }
    }
    if (reader.hasError()) {
        return std::nullopt;
    }
    QString result = musicXml;
    // From the end, so that the offsets of earlier repeats stay valid.
    for (auto repeat = repeats.crbegin(); repeat != repeats.crend(); ++repeat) {
        result.remove(repeat->from, repeat->to - repeat->from);
    }
    return result;
}

bool MusicXmlLyrics::removeRepeats(const QString& path) {
    const auto text = MusicXmlFile::read(path);
    if (!text) {
        return false;
    }
    const auto rewritten = withoutRepeats(*text);
    return rewritten && MusicXmlFile::write(path, *rewritten);
}

} // namespace velmarto
