#include "core/accounts/Flow.h"

namespace velmarto {

using namespace Qt::StringLiterals;

Flow::Flow(Kind kind, QString email, QString password)
    : m_kind(kind)
    , m_email(std::move(email))
    , m_password(std::move(password)) {}

Flow Flow::signUp(QString email, QString password) {
    return Flow(Kind::signUp, std::move(email), std::move(password));
}

Flow Flow::reset(QString email) {
    return Flow(Kind::reset, std::move(email), {});
}

Flow Flow::changePassword(QString email) {
    return Flow(Kind::changePassword, std::move(email), {});
}

QString Flow::title() const {
    switch (m_kind) {
    case Kind::signUp:
        return u"Verify your email"_s;
    case Kind::reset:
        return u"Reset your password"_s;
    case Kind::changePassword:
        return u"Change your password"_s;
    }
    return {};
}

} // namespace velmarto
