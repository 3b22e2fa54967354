#include "FakeSecretStore.h"

namespace velmarto::test {

std::optional<QByteArray> FakeSecretStore::read(const QString& service, const QString& key) {
    const auto item = m_items.constFind({service, key});
    if (failsReads || item == m_items.cend()) {
        return std::nullopt;
    }
    return *item;
}

void FakeSecretStore::remove(const QString& service, const QString& key) {
    m_items.remove({service, key});
}

bool FakeSecretStore::add(const QString& service, const QString& key, const QByteArray& data) {
    if (refusesAdds) {
        return false;
    }
    putItem(service, key, data);
    return true;
}

QList<QByteArray> FakeSecretStore::items(const QString& service, const QString& key) const {
    return m_items.values({service, key});
}

void FakeSecretStore::putItem(const QString& service, const QString& key, const QByteArray& data) {
    m_items.insert({service, key}, data);
}

} // namespace velmarto::test
