#include "core/accounts/VerificationCode.h"

namespace velmarto {

using namespace Qt::StringLiterals;

QString VerificationCode::issue(const std::function<quint32()>& draw, const QDateTime& now) {
    QString code = u"%1"_s.arg(static_cast<qulonglong>(draw()), 6, 10, QChar(u'0'));
    m_code = code;
    m_expiry = now.addSecs(lifetimeSeconds);
    return code;
}

VerificationCode::Check VerificationCode::check(const QString& typed, const QDateTime& now) const {
    if (!m_code) {
        return Check::noneIssued;
    }
    if (now >= m_expiry) {
        return Check::expired;
    }
    return typed.trimmed() == *m_code ? Check::accepted : Check::incorrect;
}

void VerificationCode::forget() {
    m_code.reset();
    m_expiry = {};
}

} // namespace velmarto
