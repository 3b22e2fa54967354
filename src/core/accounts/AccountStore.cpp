#include "core/accounts/AccountStore.h"

#include "core/accounts/ResponsiveWait.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

const QString keychainService = u"com.local.velmarto.accounts"_s;
const QString keychainKey = u"accounts-db-v1"_s;
const QString fallbackKey = u"velmarto.accounts.fallback"_s;

QByteArray encode(const QList<Account>& accounts) {
    QJsonArray array;
    for (const Account& account : accounts) {
        array.append(account.toJson());
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// One unreadable record makes the whole document unreadable, so a damaged list is never half
// used.
QList<Account> decode(const QByteArray& document) {
    const QJsonDocument json = QJsonDocument::fromJson(document);
    if (!json.isArray()) {
        return {};
    }
    QList<Account> accounts;
    for (const auto& value : json.array()) {
        const std::optional<Account> account =
            value.isObject() ? Account::fromJson(value.toObject()) : std::nullopt;
        if (!account) {
            return {};
        }
        accounts.append(*account);
    }
    return accounts;
}

// Not the preferences' own "<file>.lock": QSettings takes that one while it writes, and the
// list is written while this lock is held.
std::unique_ptr<QLockFile> lockBeside(const PreferenceStore& preferences) {
    const QString preferenceFile = preferences.filePath();
    QDir().mkpath(QFileInfo(preferenceFile).absolutePath());
    auto lock = std::make_unique<QLockFile>(preferenceFile + u".accounts.lock"_s);
    // A holder may wait minutes for an unlock prompt, so age alone never makes the lock stale;
    // a lock whose process has died is still taken over.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

AccountStore::AccountStore(std::shared_ptr<SecretStore> secrets, PreferenceStore preferences)
    : m_secrets(std::move(secrets))
    , m_preferences(std::move(preferences)) {}

QList<Account> AccountStore::loadAll() const {
    QList<Account> accounts;
    responsivewait::run([this, &accounts] {
        // A read changes nothing, so it goes ahead without the lock when another process keeps
        // it too long.
        const std::unique_ptr<QLockFile> lock = lockBeside(m_preferences);
        lock->tryLock(static_cast<int>(lockTimeout.count()));
        // A copy written by an earlier version may still sit in a file that others can read.
        if (QFileInfo::exists(m_preferences.filePath())) {
            m_preferences.restrictToOwner();
        }
        const SecretStore::ReadResult item = m_secrets->read(keychainService, keychainKey);
        if (const QByteArray* document = std::get_if<QByteArray>(&item)) {
            accounts = decode(*document);
        } else {
            accounts = readPreferenceCopy();
        }
    });
    return accounts;
}

void AccountStore::saveAll(const QList<Account>& accounts) const {
    responsivewait::run([this, &accounts] {
        const std::unique_ptr<QLockFile> lock = lockBeside(m_preferences);
        lock->tryLock(static_cast<int>(lockTimeout.count()));
        write(accounts);
    });
}

AccountStore::UpdateOutcome AccountStore::update(const Change& change) const {
    UpdateOutcome outcome = UpdateOutcome::failed;
    responsivewait::run([this, &change, &outcome] {
        const std::unique_ptr<QLockFile> lock = lockBeside(m_preferences);
        if (!lock->tryLock(static_cast<int>(lockTimeout.count()))) {
            return;
        }
        const std::optional<QList<Account>> current = readForUpdate();
        if (!current) {
            return;
        }
        const std::optional<QList<Account>> changed = change(*current);
        if (!changed) {
            outcome = UpdateOutcome::declined;
            return;
        }
        outcome = write(*changed) ? UpdateOutcome::saved : UpdateOutcome::failed;
    });
    return outcome;
}

std::optional<QList<Account>> AccountStore::readForUpdate() const {
    if (!m_preferences.restrictToOwner()) {
        return std::nullopt;
    }
    const SecretStore::ReadResult item = m_secrets->read(keychainService, keychainKey);
    if (const QByteArray* document = std::get_if<QByteArray>(&item)) {
        return decode(*document);
    }
    if (std::holds_alternative<SecretStore::Missing>(item)) {
        return readPreferenceCopy();
    }
    return std::nullopt;
}

QList<Account> AccountStore::readPreferenceCopy() const {
    const QVariant copy = m_preferences.open()->value(fallbackKey);
    if (copy.typeId() != QMetaType::QByteArray) {
        return {};
    }
    return decode(copy.toByteArray());
}

bool AccountStore::write(const QList<Account>& accounts) const {
    const QByteArray document = encode(accounts);
    m_secrets->remove(keychainService, keychainKey);
    if (m_secrets->add(keychainService, keychainKey, document)) {
        removePreferenceCopy();
        return true;
    }
    // The copy holds every salt and hash, so it never lands in a file that others can read.
    if (!m_preferences.restrictToOwner()) {
        return false;
    }
    const std::unique_ptr<QSettings> preferences = m_preferences.open();
    preferences->setValue(fallbackKey, document);
    preferences->sync();
    return preferences->status() == QSettings::NoError;
}

// Once the secret store holds the list, a copy in the preferences can only go stale: a password
// changed since would then lose to the old one whenever the secret store cannot be read. Updating
// the copy instead would keep every hash in a plain file for good, so it goes.
void AccountStore::removePreferenceCopy() const {
    const std::unique_ptr<QSettings> preferences = m_preferences.open();
    if (preferences->contains(fallbackKey)) {
        preferences->remove(fallbackKey);
        preferences->sync();
    }
}

} // namespace velmarto
