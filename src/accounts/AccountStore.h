#pragma once

#include "accounts/Account.h"
#include "accounts/PreferenceStore.h"
#include "accounts/SecretStore.h"

#include <QList>

#include <memory>

namespace velmarto {

// The whole list of local accounts, kept as one JSON document in one secret-store item, with a
// copy in the preferences when the secret store refuses it. Nothing is kept in memory: every call
// reads or writes the complete list, and failures are silent.
class AccountStore {
public:
    AccountStore(std::shared_ptr<SecretStore> secrets, PreferenceStore preferences);

    QList<Account> loadAll() const;
    void saveAll(const QList<Account>& accounts) const;

private:
    std::shared_ptr<SecretStore> m_secrets;
    PreferenceStore m_preferences;
};

} // namespace velmarto
