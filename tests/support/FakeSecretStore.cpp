#include "FakeSecretStore.h"

#include <QThread>

namespace velmarto::test {

SecretStore::ReadResult FakeSecretStore::read(const QString& service, const QString& key) {
    QThread::msleep(static_cast<unsigned long>(readDelay.count()));
    if (failsReads || readsToFail > 0) {
        readsToFail = std::max(readsToFail - 1, 0);
        return Unreadable{};
    }
    const auto item = m_items.constFind({service, key});
    if (item == m_items.cend()) {
        return Missing{};
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
