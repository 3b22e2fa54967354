#pragma once

#include "core/conversion/LilyPondEngraving.h"

#include <QString>

namespace velmarto {

// Sets the paper size and Velmarto's engraving settings in a LilyPond source that musicxml2ly
// wrote. The rewrite reads the source the way lilypond does (strings, comments, braces), so text
// that merely looks like a \version or a page dimension inside a string or comment is never
// touched.
namespace lilypondsource {
// Sets the paper size and adds the engraving settings, rewriting the file atomically. A file
// that cannot be read as UTF-8 or written back is left as it was, and engraving goes on with
// musicxml2ly's own output.
bool rewrite(const QString& path, const QString& paperSize, const LilyPondEngraving& engraving);

// The paper-size line and the engraving prelude go where withPaperSize() puts the paper-size
// line alone; the engraving closing goes at the end, after musicxml2ly's own settings. A lone
// verse loses its number.
QString withEngraving(const QString& text, const QString& paperSize,
                      const LilyPondEngraving& engraving);

// Inserts the paper-size line after the line holding the first top-level \version (or first,
// when there is none), and drops the page width and height that musicxml2ly copies from
// MuseScore's page layout into the top-level \paper block: left in place they override the
// chosen paper size.
QString withPaperSize(const QString& text, const QString& paperSize);

// musicxml2ly numbers every line of lyrics ("1."), also the one verse of a song, where the
// number only gets in the way (before a credit sung as lyrics it reads "1. Jim Redfarn").
// When no line has another number, the numbers are left out.
QString withoutLoneVerseNumbers(const QString& text);

// The line that sets the paper, with the name kept safely inside its Scheme string.
QString paperSizeLine(const QString& paperSize);
} // namespace lilypondsource

} // namespace velmarto
