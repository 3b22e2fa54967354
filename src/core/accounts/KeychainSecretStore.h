#pragma once

#include "core/accounts/SecretStore.h"

namespace velmarto {

// The platform keychain through QtKeychain: Keychain Services on macOS, the Secret Service on a
// freedesktop desktop. The jobs run on a thread of their own while the calling thread waits.
class KeychainSecretStore final : public SecretStore {
public:
    ReadResult read(const QString& service, const QString& key) override;
    void remove(const QString& service, const QString& key) override;
    // The data is stored as UTF-8 text rather than QtKeychain's binary mode: the bytes in the
    // macOS keychain stay the document itself, and on the Secret Service the item stays plain
    // text instead of base64.
    bool add(const QString& service, const QString& key, const QByteArray& data) override;
};

} // namespace velmarto
