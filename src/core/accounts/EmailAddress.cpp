#include "core/accounts/EmailAddress.h"

#include "core/accounts/Graphemes.h"

namespace velmarto {

QString normalisedEmail(const QString& typed) {
    return typed.trimmed().toLower();
}

bool isValidEmail(const QString& normalised) {
    const qsizetype at = normalised.indexOf(u'@');
    if (at <= 0) {
        return false;
    }
    const QString domain = normalised.mid(at + 1);
    return domain.contains(u'.') && !domain.startsWith(u'.') && graphemeCount(domain) > 2;
}

} // namespace velmarto
