#include "core/accounts/Graphemes.h"

#include <QTextBoundaryFinder>

namespace velmarto {

qsizetype graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

} // namespace velmarto
