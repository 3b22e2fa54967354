#pragma once

#include "core/accounts/Session.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQmlIntegration>

namespace velmarto {

// The texts typed into the code entry and its Verify action. Every change of the session's
// pending flow empties them, so each new flow starts with empty fields; messages go to the
// session's lastError, which the entry shows.
class VerificationViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::Session* session READ session WRITE setSession NOTIFY sessionChanged)
    Q_PROPERTY(QString code READ code WRITE setCode NOTIFY codeChanged)
    Q_PROPERTY(QString newPassword READ newPassword WRITE setNewPassword NOTIFY newPasswordChanged)
    Q_PROPERTY(QString confirm READ confirm WRITE setConfirm NOTIFY confirmChanged)
    // The pending flow sets a new password (reset, change) rather than only confirming an address.
    Q_PROPERTY(bool needsNewPassword READ needsNewPassword NOTIFY needsNewPasswordChanged)

public:
    explicit VerificationViewModel(QObject* parent = nullptr);

    Session* session() const { return m_session; }
    QString code() const { return m_code; }
    QString newPassword() const { return m_newPassword; }
    QString confirm() const { return m_confirm; }
    bool needsNewPassword() const;

    void setSession(Session* session);
    void setCode(const QString& code);
    void setNewPassword(const QString& newPassword);
    void setConfirm(const QString& confirm);

    // Checks that the new password and its confirmation match, then verifies the code. Success
    // ends the flow in the session; a failure leaves the session's message.
    Q_INVOKABLE void submit();

signals:
    void sessionChanged();
    void codeChanged();
    void newPasswordChanged();
    void confirmChanged();
    void needsNewPasswordChanged();

private:
    void flowChanged();

    QPointer<Session> m_session;
    QMetaObject::Connection m_flowConnection;
    QString m_code;
    QString m_newPassword;
    QString m_confirm;
};

} // namespace velmarto
