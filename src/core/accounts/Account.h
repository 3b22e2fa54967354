#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velmarto {

// One local account as it is stored: the normalised address, the salt and the salted digest.
struct Account {
    QString email;
    QString salt;
    QString hash;

    QJsonObject toJson() const;
    // Members other than the three are ignored; a missing or non-text member makes the record
    // unreadable.
    static std::optional<Account> fromJson(const QJsonObject& object);

    friend bool operator==(const Account&, const Account&) = default;
};

} // namespace velmarto
