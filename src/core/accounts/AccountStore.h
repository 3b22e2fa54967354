#pragma once

#include "core/accounts/Account.h"
#include "core/accounts/SecretStore.h"
#include "core/settings/PreferenceStore.h"

#include <QList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace velmarto {

// The whole list of local accounts, kept as one JSON document in one secret-store item, or in the
// preferences (owner-only) while the secret store refuses it. Nothing is kept in memory: every call
// reads or writes the complete list.
//
// Every call holds a lock file beside the preferences, so windows in other processes never read
// or write the list halfway through each other's changes, and runs on a worker thread while the
// calling thread keeps painting (responsivewait).
class AccountStore {
public:
    enum class UpdateOutcome {
        saved,
        // The change left the list as it was; nothing was written.
        declined,
        // The list could not be read or stored safely; nothing was written.
        failed,
    };
    // Given the current list, returns the list to store, or nothing to leave it as it is.
    using Change = std::function<std::optional<QList<Account>>(QList<Account>)>;

    // How long a call waits for another process to finish with the list. That process may itself
    // be waiting for the user to answer an unlock prompt.
    static constexpr std::chrono::milliseconds lockTimeout{60'000};

    AccountStore(std::shared_ptr<SecretStore> secrets, PreferenceStore preferences);

    // The stored list; the preference copy when the secret store has no item or cannot be read.
    // Never fails: nothing readable is an empty list.
    QList<Account> loadAll() const;
    // Stores the list as given; failures are silent.
    void saveAll(const QList<Account>& accounts) const;
    // One load-modify-save. Unlike loadAll, a secret store that cannot be read fails the update:
    // the preference copy may be older than the item, and saving a list built on it would drop
    // the accounts it lacks.
    UpdateOutcome update(const Change& change) const;

private:
    std::optional<QList<Account>> readForUpdate() const;
    QList<Account> readPreferenceCopy() const;
    bool write(const QList<Account>& accounts) const;
    void removePreferenceCopy() const;

    std::shared_ptr<SecretStore> m_secrets;
    PreferenceStore m_preferences;
};

} // namespace velmarto
