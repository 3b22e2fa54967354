#pragma once

#include "accounts/SecretStore.h"

#include <QMultiMap>
#include <QPair>

namespace velmarto::test {

// An in-memory secret store that keeps every added item, so a test can count them, and that can
// be told to refuse adds or to fail reads the way a locked or missing keychain does.
class FakeSecretStore final : public SecretStore {
public:
    std::optional<QByteArray> read(const QString& service, const QString& key) override;
    void remove(const QString& service, const QString& key) override;
    bool add(const QString& service, const QString& key, const QByteArray& data) override;

    QList<QByteArray> items(const QString& service, const QString& key) const;
    void putItem(const QString& service, const QString& key, const QByteArray& data);

    bool refusesAdds = false;
    bool failsReads = false;

private:
    QMultiMap<QPair<QString, QString>, QByteArray> m_items;
};

} // namespace velmarto::test
