#pragma once

#include <QObject>
#include <QString>

namespace velmarto {

// The code-confirmed step in progress and the address its code went to. A sign-up also carries
// the password typed for the new account until its code is verified; it is not published to the
// screens.
class Flow {
    Q_GADGET
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    Q_PROPERTY(QString email READ email CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(bool needsNewPassword READ needsNewPassword CONSTANT)

public:
    enum class Kind { signUp, reset, changePassword };
    Q_ENUM(Kind)

    Flow() = default;
    static Flow signUp(QString email, QString password);
    static Flow reset(QString email);
    static Flow changePassword(QString email);

    Kind kind() const { return m_kind; }
    QString email() const { return m_email; }
    QString password() const { return m_password; }
    QString title() const;
    bool needsNewPassword() const { return m_kind != Kind::signUp; }

    friend bool operator==(const Flow&, const Flow&) = default;

private:
    Flow(Kind kind, QString email, QString password);

    Kind m_kind = Kind::signUp;
    QString m_email;
    QString m_password;
};

} // namespace velmarto
