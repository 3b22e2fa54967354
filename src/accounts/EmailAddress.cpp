#include "accounts/EmailAddress.h"

#include "accounts/Graphemes.h"

namespace velmarto {

QString normalizedEmail(const QString& typed) {
    return typed.trimmed().toLower();
}

bool isValidEmail(const QString& normalized) {
    const qsizetype at = normalized.indexOf(u'@');
    if (at <= 0) {
        return false;
    }
    const QString domain = normalized.mid(at + 1);
    return domain.contains(u'.') && !domain.startsWith(u'.') && graphemeCount(domain) > 2;
}

} // namespace velmarto
