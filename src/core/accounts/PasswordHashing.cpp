#include "core/accounts/PasswordHashing.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>

#include <array>

namespace velmarto {

QString randomSalt() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), sizeof(words));
    return QString::fromLatin1(bytes.toHex());
}

QString hashPassword(const QString& password, const QString& salt) {
    const QByteArray digest =
        QCryptographicHash::hash(QString(salt + password).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

} // namespace velmarto
