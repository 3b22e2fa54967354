#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

namespace velmarto {

// A per-user secret store holding items addressed by service and key (the keychain's service and
// account). Every call completes before it returns, on whatever thread makes it.
class SecretStore {
public:
    // The store answered that there is no such item, or there is no store that could hold one.
    struct Missing {};
    // The item may exist but was not handed over: a locked keyring, a refused or dismissed
    // prompt, a store that broke off. Such a read says nothing about what the store holds.
    struct Unreadable {};
    using ReadResult = std::variant<QByteArray, Missing, Unreadable>;

    virtual ~SecretStore() = default;

    virtual ReadResult read(const QString& service, const QString& key) = 0;
    // Removes every item under service and key; whether anything was removed is not reported.
    virtual void remove(const QString& service, const QString& key) = 0;
    // Stores a new item; false when the store refused it.
    virtual bool add(const QString& service, const QString& key, const QByteArray& data) = 0;
};

} // namespace velmarto
