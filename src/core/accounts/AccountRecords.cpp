#include "core/accounts/AccountRecords.h"

#include "core/accounts/PasswordHashing.h"

#include <algorithm>

namespace velmarto::accountrecords {

namespace {

QList<Account>::iterator findRecord(QList<Account>& accounts, const QString& email) {
    return std::ranges::find(accounts, email, &Account::email);
}

Account hashed(const QString& email, const QString& password) {
    const QString salt = randomSalt();
    return Account{email, salt, hashPassword(password, salt)};
}

} // namespace

std::optional<Account> find(const QList<Account>& accounts, const QString& email) {
    const auto found = std::ranges::find(accounts, email, &Account::email);
    return found == accounts.cend() ? std::nullopt : std::optional<Account>(*found);
}

bool passwordMatches(const Account& account, const QString& password) {
    return hashPassword(password, account.salt) == account.hash;
}

std::optional<QList<Account>> withNewAccount(QList<Account> accounts, const QString& email,
                                             const QString& password) {
    if (findRecord(accounts, email) != accounts.end()) {
        return std::nullopt;
    }
    accounts.append(hashed(email, password));
    return accounts;
}

std::optional<QList<Account>> withNewPassword(QList<Account> accounts, const QString& email,
                                              const QString& password) {
    const auto found = findRecord(accounts, email);
    if (found == accounts.end()) {
        return std::nullopt;
    }
    *found = hashed(email, password);
    return accounts;
}

} // namespace velmarto::accountrecords
