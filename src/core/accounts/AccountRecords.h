#pragma once

#include "core/accounts/Account.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmarto::accountrecords {

// The rules for the list of account records. Addresses are compared as given, so callers pass
// normalised ones.

// The first record with that address; lookups never see a later one.
std::optional<Account> find(const QList<Account>& accounts, const QString& email);
bool passwordMatches(const Account& account, const QString& password);
// The list with a new record, or nothing when the address already has one: a second record
// would never be reached, so its password would never work.
std::optional<QList<Account>> withNewAccount(QList<Account> accounts, const QString& email,
                                             const QString& password);
// The list with that address's record re-hashed under a fresh salt, or nothing when there is no
// such record.
std::optional<QList<Account>> withNewPassword(QList<Account> accounts, const QString& email,
                                              const QString& password);

} // namespace velmarto::accountrecords
