#pragma once

#include <QByteArray>
#include <QString>

namespace velmarto {

// musicxml2ly copies MusicXML text (part names, words, credits) into LilyPond strings and escapes
// the double quote but not the backslash, so a text ending in a backslash closes the string early
// and whatever follows runs as Scheme inside lilypond. A backslash means nothing in MusicXML, so
// each one is swapped for a look-alike before musicxml2ly sees the file.
class MusicXmlSanitizer {
public:
    // Replaces in place, leaving every other byte as MuseScore wrote it. Returns false when the
    // file could not be read or written.
    static bool neutraliseBackslashes(const QString& path);

    // XML markup never contains a backslash and UTF-8 never uses its byte inside a multi-byte
    // sequence, so every backslash byte is character data or an attribute value.
    static QByteArray withoutBackslashes(const QByteArray& musicXml);
};

} // namespace velmarto
