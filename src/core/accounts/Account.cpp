#include "core/accounts/Account.h"

namespace velmarto {

using namespace Qt::StringLiterals;

QJsonObject Account::toJson() const {
    return QJsonObject{{u"email"_s, email}, {u"salt"_s, salt}, {u"hash"_s, hash}};
}

std::optional<Account> Account::fromJson(const QJsonObject& object) {
    const QJsonValue email = object.value(u"email"_s);
    const QJsonValue salt = object.value(u"salt"_s);
    const QJsonValue hash = object.value(u"hash"_s);
    if (!email.isString() || !salt.isString() || !hash.isString()) {
        return std::nullopt;
    }
    return Account{email.toString(), salt.toString(), hash.toString()};
}

} // namespace velmarto
