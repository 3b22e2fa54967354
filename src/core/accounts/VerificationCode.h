#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace velmarto {

// The one code a session accepts at a time: issued with a lifetime, checked, forgotten. A new
// code replaces the one before.
class VerificationCode {
public:
    static constexpr int lifetimeSeconds = 600;

    enum class Check { noneIssued, expired, incorrect, accepted };

    // draw gives a number from 0 to 999 999; the code is it in six digits.
    QString issue(const std::function<quint32()>& draw, const QDateTime& now);
    // Surrounding blanks in the typed code do not count.
    Check check(const QString& typed, const QDateTime& now) const;
    // Whether code is the one accepted now, and not one replaced or forgotten since.
    bool isCurrent(const QString& code) const { return m_code == code; }
    void forget();

private:
    std::optional<QString> m_code;
    QDateTime m_expiry;
};

} // namespace velmarto
