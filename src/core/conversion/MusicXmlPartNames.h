#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace velmarto {

// The names MuseScore gives the parts of a score ("Percussion, Slagverk": the General MIDI
// instrument, then the track's name) and the short names that later systems show.
class MusicXmlPartNames {
public:
    struct Part {
        QString name;
        QString abbreviation;
    };

    // Every score-part's part-name and part-abbreviation, in order; nothing when the document is
    // not well-formed.
    static std::optional<QList<Part>> read(const QString& musicXml);

    // The document with a part-abbreviation inserted into each score-part that has a name but no
    // abbreviation; every other character stays where it was. Nothing when not well-formed.
    static std::optional<QString> withAbbreviations(const QString& musicXml);

    // Rewrites the file in place and returns its parts; nothing when the file could not be read,
    // parsed or written, in which case it is left as it was.
    static std::optional<QList<Part>> addAbbreviations(const QString& path);

    // The track's half of "Instrument, Track", or the whole name; a name of more than twelve
    // characters keeps its first word, and a first word that long is cut with a full stop.
    static QString abbreviationFor(const QString& name);
};

} // namespace velmarto
