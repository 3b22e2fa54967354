#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace velmarto {

// musicxml2ly copies MusicXML text (part names, lyrics, words, credits, rehearsal marks) into the
// LilyPond source: sometimes inside a string whose quotes it does not escape, sometimes straight
// into a markup. A quote, a backslash, '#' or '$' there lets the text run Scheme (and through it
// shell commands) inside lilypond; a brace or '%' breaks the markup it sits in, and a line break
// lets it span lines. So every piece of character data and every attribute value is rewritten
// before musicxml2ly reads the file; the markup itself stays as MuseScore wrote it.
namespace musicxmlsanitizer {
// Rewrites the file in place. Returns false when it could not be read, is not well-formed
// XML, or could not be written back; the file is then left as it was.
bool neutralise(const QString& path);

// The whole document, rewritten; nothing when it is not well-formed XML.
std::optional<QByteArray> neutralised(const QByteArray& musicXml);

// One text: backslash, double quote, '#', '$', '%' and braces become look-alikes that mean
// nothing to LilyPond, and every line break becomes a blank.
QString neutralisedText(QStringView text);
} // namespace musicxmlsanitizer

} // namespace velmarto
