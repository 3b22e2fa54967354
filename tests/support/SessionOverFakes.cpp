#include "SessionOverFakes.h"

#include "core/accounts/PasswordHashing.h"

#include <QTimeZone>

namespace velmarto::test {

using namespace Qt::StringLiterals;

SessionOverFakes::SessionOverFakes()
    : now(QDate(2026, 3, 1), QTime(9, 30), QTimeZone::utc())
    , m_preferences(m_directory.filePath(u"preferences.ini"_s)) {}

std::unique_ptr<Session> SessionOverFakes::makeSession() {
    return std::make_unique<Session>(SessionDependencies{
        .accounts = accounts(),
        .preferences = m_preferences,
        .delivery = delivery,
        .mail = MailProfile::freedesktop(),
        .clock = [this] { return now; },
        .codeGenerator = [this] { return nextCode++; },
    });
}

void SessionOverFakes::addAccount(const QString& email, const QString& password) {
    QList<Account> all = accounts().loadAll();
    const QString salt = randomSalt();
    all.append(Account{email, salt, hashPassword(password, salt)});
    accounts().saveAll(all);
}

AccountStore SessionOverFakes::accounts() const {
    return AccountStore(secrets, m_preferences);
}

void SessionOverFakes::finishLastDelivery(DeliveryResult result) const {
    delivery->requests.last().completion(result);
}

} // namespace velmarto::test
