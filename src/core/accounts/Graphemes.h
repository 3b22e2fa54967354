#pragma once

#include <QString>

namespace velmarto {

// The number of user-perceived characters (extended grapheme clusters) in text, so that an
// accented letter typed as two code points or an emoji counts once.
qsizetype graphemeCount(const QString& text);

} // namespace velmarto
