#include "core/conversion/MusicXmlPartNames.h"

#include "core/conversion/MusicXmlFile.h"
#include "core/conversion/MusicXmlSanitizer.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace velmarto::musicxmlpartnames {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype longestAbbreviation = 12;
constexpr qsizetype longestWholeWord = 5;

struct ScorePart {
    Part names;
    // Where the part-name's text lies, and where an abbreviation belongs: after the part-name, or
    // after its display form.
    qsizetype nameStart = -1;
    qsizetype nameEnd = -1;
    qsizetype abbreviationOffset = -1;
    bool hasAbbreviation = false;
};

std::optional<QList<ScorePart>> scoreParts(const QString& musicXml) {
    QXmlStreamReader reader(musicXml);
    QList<ScorePart> parts;
    bool inScorePart = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"score-part") {
            inScorePart = true;
            parts.append(ScorePart{});
        } else if (reader.isEndElement() && reader.name() == u"score-part") {
            inScorePart = false;
        } else if (inScorePart && reader.isStartElement()) {
            ScorePart& part = parts.last();
            if (reader.name() == u"part-name") {
                part.nameStart = reader.characterOffset();
                part.names.name = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                part.abbreviationOffset = reader.characterOffset();
                part.nameEnd = musicXml.lastIndexOf(u"</"_s, part.abbreviationOffset - 1);
            } else if (reader.name() == u"part-name-display") {
                reader.skipCurrentElement();
                part.abbreviationOffset = reader.characterOffset();
            } else if (reader.name() == u"part-abbreviation") {
                part.names.abbreviation =
                    reader.readElementText(QXmlStreamReader::IncludeChildElements);
                part.hasAbbreviation = true;
            }
        }
    }
    if (reader.hasError()) {
        return std::nullopt;
    }
    return parts;
}

QString escapedForXml(QString text) {
    return text.replace(u'&', u"&amp;"_s).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s);
}

QString decodedEntities(QString text) {
    return text.replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&quot;"_s, u"\""_s)
        .replace(u"&apos;"_s, u"'"_s)
        .replace(u"&amp;"_s, u"&"_s);
}

bool saysNothing(const QString& trackName) {
    static const QRegularExpression generic(
        u"^(?:(?:midi\\s*)?(?:track|staff|ch(?:an+el)?\\.?|part|instrument|voice|sequence|seq\\.?)"
        u"|midi|untitled|unnamed|new track|no name)?[\\s\\-_#:.]*\\d*$"_s,
        QRegularExpression::CaseInsensitiveOption);
    return generic.match(trackName.trimmed()).hasMatch();
}

QStringList wordsOf(const QString& name) {
    return name.toCaseFolded().split(u' ', Qt::SkipEmptyParts);
}

bool holdsEveryWordOf(const QString& name, const QString& other) {
    const QStringList words = wordsOf(name);
    return std::ranges::all_of(wordsOf(other),
                               [&](const QString& word) { return words.contains(word); });
}

QString abbreviatedWord(const QString& word) {
    // The usual abbreviations where cutting the word would not give them.
    static const QHash<QString, QString> usual{
        {u"piano"_s, u"Pno."_s},      {u"trumpet"_s, u"Tpt."_s},   {u"trombone"_s, u"Tbn."_s},
        {u"violin"_s, u"Vln."_s},     {u"viola"_s, u"Vla."_s},     {u"cello"_s, u"Vc."_s},
        {u"violoncello"_s, u"Vc."_s}, {u"contrabass"_s, u"Cb."_s}, {u"clarinet"_s, u"Cl."_s},
        {u"flute"_s, u"Fl."_s},       {u"oboe"_s, u"Ob."_s},       {u"bassoon"_s, u"Bsn."_s},
        {u"horn"_s, u"Hn."_s},        {u"saxophone"_s, u"Sax."_s}, {u"acoustic"_s, u"Ac."_s},
        {u"strings"_s, u"Str."_s},    {u"organ"_s, u"Org."_s},     {u"harpsichord"_s, u"Hpd."_s},
    };
    if (const auto known = usual.constFind(word.toCaseFolded()); known != usual.cend()) {
        return *known;
    }
    if (word.size() <= longestWholeWord || word.endsWith(u'.')) {
        return word;
    }
    return word.first(4) + u'.';
}

} // namespace

QString printedName(const QString& partName) {
    const QString name = decodedEntities(partName).simplified();
    const qsizetype comma = name.indexOf(u", "_s);
    QString printed = name;
    if (comma >= 0) {
        const QString instrument = name.first(comma);
        const QString track = name.sliced(comma + 2);
        if (saysNothing(track) || holdsEveryWordOf(instrument, track)) {
            printed = instrument;
        } else if (holdsEveryWordOf(track, instrument)) {
            printed = track;
        }
    }
    return musicxmlsanitizer::neutralisedText(printed);
}

QString abbreviationFor(const QString& printedName) {
    const qsizetype comma = printedName.indexOf(u", "_s);
    const QString instrument = comma < 0 ? printedName : printedName.first(comma);
    QString abbreviation;
    for (const QString& word : instrument.split(u' ', Qt::SkipEmptyParts)) {
        const QString shortWord = abbreviatedWord(word);
        const QString longer = abbreviation.isEmpty() ? shortWord : abbreviation + u' ' + shortWord;
        if (longer.size() > longestAbbreviation) {
            break;
        }
        abbreviation = longer;
    }
    return abbreviation;
}

std::optional<QList<Part>> read(const QString& musicXml) {
    const auto parts = scoreParts(musicXml);
    if (!parts) {
        return std::nullopt;
    }
    QList<Part> names;
    for (const ScorePart& part : *parts) {
        names.append(part.names);
    }
    return names;
}

std::optional<QString> withPrintedNames(const QString& musicXml) {
    const auto parts = scoreParts(musicXml);
    if (!parts) {
        return std::nullopt;
    }
    // Built in one pass: editing in place would move the rest of the document for every part.
    QString result;
    result.reserve(musicXml.size());
    qsizetype copied = 0;
    const auto copyUpTo = [&](qsizetype offset) {
        result += QStringView(musicXml).sliced(copied, offset - copied);
        copied = offset;
    };
    for (const ScorePart& part : *parts) {
        if (part.nameStart < copied || part.nameEnd < part.nameStart) {
            continue;
        }
        const QString name = printedName(part.names.name);
        copyUpTo(part.nameStart);
        result += escapedForXml(name);
        copied = part.nameEnd;
        const QString abbreviation = abbreviationFor(name);
        if (!part.hasAbbreviation && !abbreviation.isEmpty() && part.abbreviationOffset >= copied) {
            copyUpTo(part.abbreviationOffset);
            result +=
                u"<part-abbreviation>"_s + escapedForXml(abbreviation) + u"</part-abbreviation>"_s;
        }
    }
    result += QStringView(musicXml).sliced(copied);
    return result;
}

std::optional<QList<Part>> printNames(const QString& path) {
    const auto text = musicxmlfile::read(path);
    if (!text) {
        return std::nullopt;
    }
    const auto rewritten = withPrintedNames(*text);
    if (!rewritten || !musicxmlfile::write(path, *rewritten)) {
        return std::nullopt;
    }
    return read(*rewritten);
}

} // namespace velmarto::musicxmlpartnames
