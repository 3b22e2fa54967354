#pragma once

#include <QObject>
#include <QString>

namespace velmarto {

// Who is signed in: nobody, or the account with the carried (normalised) address.
class Phase {
    Q_GADGET
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    Q_PROPERTY(QString email READ email CONSTANT)

public:
    enum class Kind { needsAuth, signedIn };
    Q_ENUM(Kind)

    Phase() = default;
    static Phase signedIn(QString email);

    Kind kind() const { return m_kind; }
    // Empty unless signed in.
    QString email() const { return m_email; }

    friend bool operator==(const Phase&, const Phase&) = default;

private:
    Kind m_kind = Kind::needsAuth;
    QString m_email;
};

} // namespace velmarto
