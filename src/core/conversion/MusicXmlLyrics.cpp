#include "core/conversion/MusicXmlLyrics.h"

#include "core/conversion/MusicXmlFile.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>

namespace velmarto::musicxmllyrics {

using namespace Qt::StringLiterals;

namespace {

// Reads the lyric whose start tag the reader is on, up to and including its end tag, into a key
// that is equal for two lyrics of the same number and texts.
QString readLyric(QXmlStreamReader& reader) {
    QString key = reader.attributes().value(u"number"_s).toString();
    while (reader.readNextStartElement()) {
        if (reader.name() == u"text") {
            // Separators no XML text can hold, so that no two different lyrics share a key.
            key += u'\x1f' + reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else {
            reader.skipCurrentElement();
        }
    }
    return key;
}

struct Span {
    qsizetype from;
    qsizetype to;
};

} // namespace

std::optional<QString> withoutRepeats(const QString& musicXml) {
    QXmlStreamReader reader(musicXml);
    QList<Span> repeats;
    QSet<QString> lyricsOfNote;
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
                const QString lyric = readLyric(reader);
                --depth;
                if (lyricsOfNote.contains(lyric)) {
                    repeats.append({removalStart, reader.characterOffset()});
                } else {
                    lyricsOfNote.insert(lyric);
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
    // Built in one pass: removing each repeat in place moved the rest of the document every
    // time, which took minutes on a file with many chords.
    QString result;
    result.reserve(musicXml.size());
    qsizetype kept = 0;
    for (const Span& repeat : repeats) {
        result += QStringView(musicXml).sliced(kept, repeat.from - kept);
        kept = repeat.to;
    }
    result += QStringView(musicXml).sliced(kept);
    return result;
}

bool removeRepeats(const QString& path) {
    const auto text = musicxmlfile::read(path);
    if (!text) {
        return false;
    }
    const auto rewritten = withoutRepeats(*text);
    return rewritten && musicxmlfile::write(path, *rewritten);
}

} // namespace velmarto::musicxmllyrics
