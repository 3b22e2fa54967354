#include "core/conversion/MusicXmlPartNames.h"

#include "core/conversion/MusicXmlFile.h"

#include <QXmlStreamReader>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype longestAbbreviation = 12;

struct ScorePart {
    MusicXmlPartNames::Part names;
    // Where an abbreviation belongs: after the part-name, or after its display form.
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
                part.names.name = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                part.abbreviationOffset = reader.characterOffset();
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

} // namespace

QString MusicXmlPartNames::abbreviationFor(const QString& name) {
    const qsizetype comma = name.indexOf(u", "_s);
    QString shortName = (comma < 0 ? name : name.sliced(comma + 2)).simplified();
    if (shortName.size() > longestAbbreviation) {
        shortName = shortName.section(u' ', 0, 0);
    }
    if (shortName.size() > longestAbbreviation) {
        shortName = shortName.first(longestAbbreviation - 1) + u'.';
    }
    return shortName;
}

std::optional<QList<MusicXmlPartNames::Part>> MusicXmlPartNames::read(const QString& musicXml) {
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

std::optional<QString> MusicXmlPartNames::withAbbreviations(const QString& musicXml) {
    const auto parts = scoreParts(musicXml);
    if (!parts) {
        return std::nullopt;
    }
    // Built in one pass: inserting in place would move the rest of the document for every part.
    QString result;
    result.reserve(musicXml.size());
    qsizetype copied = 0;
    for (const ScorePart& part : *parts) {
        const QString abbreviation = abbreviationFor(part.names.name);
        if (part.hasAbbreviation || part.abbreviationOffset < 0 || abbreviation.isEmpty()) {
            continue;
        }
        result += QStringView(musicXml).sliced(copied, part.abbreviationOffset - copied);
        result +=
            u"<part-abbreviation>"_s + escapedForXml(abbreviation) + u"</part-abbreviation>"_s;
        copied = part.abbreviationOffset;
    }
    result += QStringView(musicXml).sliced(copied);
    return result;
}

std::optional<QList<MusicXmlPartNames::Part>>
MusicXmlPartNames::addAbbreviations(const QString& path) {
    const auto text = MusicXmlFile::read(path);
    if (!text) {
        return std::nullopt;
    }
    const auto rewritten = withAbbreviations(*text);
    if (!rewritten || !MusicXmlFile::write(path, *rewritten)) {
        return std::nullopt;
    }
    return read(*rewritten);
}

} // namespace velmarto
