#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace velmarto {

// The names MuseScore gives the parts of a score ("Percussion, Slagverk": the General MIDI
// instrument, then the track's name), made fit to print, and the short names that later systems
// show.
namespace musicxmlpartnames {
struct Part {
    QString name;
    QString abbreviation;
};

// Every score-part's part-name and part-abbreviation, in order; nothing when the document is
// not well-formed.
std::optional<QList<Part>> read(const QString& musicXml);

// The document with each part-name replaced by its printed name and a part-abbreviation
// inserted into each score-part that has a name but no abbreviation; every other character
// stays where it was. Nothing when not well-formed.
std::optional<QString> withPrintedNames(const QString& musicXml);

// Rewrites the file in place and returns its parts; nothing when the file could not be read,
// parsed or written, in which case it is left as it was.
std::optional<QList<Part>> printNames(const QString& path);

// MuseScore writes a track's "&" as "&amp;" into the text, so it prints as such: that one
// level of entities is decoded. The track's half of "Instrument, Track" is left out when it
// says nothing ("Track 7", "MIDI Ch. 2", "Staff-1") or repeats the instrument; of two halves
// one of which holds every word of the other, only the longer stays. The result is
// neutralised for LilyPond like every other text of the score.
QString printedName(const QString& partName);

// The instrument's half of a printed name, abbreviated word by word ("Elec. Guit.") to at
// most twelve characters.
QString abbreviationFor(const QString& printedName);
} // namespace musicxmlpartnames

} // namespace velmarto
