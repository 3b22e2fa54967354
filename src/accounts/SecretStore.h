#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmarto {

// A per-user secret store holding items addressed by service and key (the keychain's service and
// account). Every call completes before it returns.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    // The item's data, or nothing when the item is missing or the store could not be read.
    virtual std::optional<QByteArray> read(const QString& service, const QString& key) = 0;
    // Removes every item under service and key; whether anything was removed is not reported.
    virtual void remove(const QString& service, const QString& key) = 0;
    // Stores a new item; false when the store refused it.
    virtual bool add(const QString& service, const QString& key, const QByteArray& data) = 0;
};

} // namespace velmarto
