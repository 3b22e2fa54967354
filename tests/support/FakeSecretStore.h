#pragma once

#include "core/accounts/SecretStore.h"

#include <QMultiMap>
#include <QPair>

#include <chrono>

namespace velmarto::test {

// An in-memory secret store that keeps every added item, so a test can count them, and that can
// be told to refuse adds, to fail reads the way a locked keychain with a dismissed prompt does,
// or to take its time the way a keychain behind an unanswered prompt does.
class FakeSecretStore final : public SecretStore {
public:
    ReadResult read(const QString& service, const QString& key) override;
    void remove(const QString& service, const QString& key) override;
    bool add(const QString& service, const QString& key, const QByteArray& data) override;

    QList<QByteArray> items(const QString& service, const QString& key) const;
    void putItem(const QString& service, const QString& key, const QByteArray& data);

    bool refusesAdds = false;
    bool failsReads = false;
    // This many reads fail before reads work again.
    int readsToFail = 0;
    std::chrono::milliseconds readDelay{0};

private:
    QMultiMap<QPair<QString, QString>, QByteArray> m_items;
};

} // namespace velmarto::test
