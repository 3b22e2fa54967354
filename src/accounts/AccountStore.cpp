#include "accounts/AccountStore.h"

#include <QJsonArray>
#include <QJsonDocument>

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
    for (const QJsonValue& value : json.array()) {
        const std::optional<Account> account =
            value.isObject() ? Account::fromJson(value.toObject()) : std::nullopt;
        if (!account) {
            return {};
        }
        accounts.append(*account);
    }
    return accounts;
}

} // namespace

AccountStore::AccountStore(std::shared_ptr<SecretStore> secrets, PreferenceStore preferences)
    : m_secrets(std::move(secrets))
    , m_preferences(std::move(preferences)) {}

QList<Account> AccountStore::loadAll() const {
    if (const std::optional<QByteArray> item = m_secrets->read(keychainService, keychainKey)) {
        return decode(*item);
    }
    const QVariant fallback = m_preferences.open()->value(fallbackKey);
    if (fallback.typeId() != QMetaType::QByteArray) {
        return {};
    }
    return decode(fallback.toByteArray());
}

void AccountStore::saveAll(const QList<Account>& accounts) const {
    const QByteArray document = encode(accounts);
    m_secrets->remove(keychainService, keychainKey);
    if (!m_secrets->add(keychainService, keychainKey, document)) {
        const std::unique_ptr<QSettings> preferences = m_preferences.open();
        preferences->setValue(fallbackKey, document);
        preferences->sync();
    }
}

} // namespace velmarto
