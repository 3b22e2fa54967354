#pragma once

#include <QString>

namespace velmarto {

// Sets the paper size in a LilyPond source that musicxml2ly wrote. The rewrite reads the source
// the way lilypond does (strings, comments, braces), so text that merely looks like a \version or
// a page dimension inside a string or comment is never touched.
class LilyPondSource {
public:
    // Rewrites the file atomically. A file that cannot be read as UTF-8 or written back is left
    // as it was, and engraving goes on with musicxml2ly's own output.
    static bool setPaperSize(const QString& path, const QString& paperSize);

    // Inserts the paper-size line after the line holding the first top-level \version (or first,
    // when there is none), and drops the page width and height that musicxml2ly copies from
    // MuseScore's page layout into the top-level \paper block: left in place they override the
    // chosen paper size.
    static QString withPaperSize(const QString& text, const QString& paperSize);

    // The line that sets the paper, with the name kept safely inside its Scheme string.
    static QString paperSizeLine(const QString& paperSize);
};

} // namespace velmarto
