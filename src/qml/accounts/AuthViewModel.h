#pragma once

#include "core/accounts/Session.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQmlIntegration>

namespace velmarto {

// What the sign-in screen keeps while nobody is signed in: the mode, the three typed texts and
// its own copy of the last message, which stays until the next action or mode change even when
// the session clears its own. The texts outlive the code entry that replaces the form while a
// flow is pending, so a cancelled flow returns to a filled-in form.
class AuthViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::Session* session READ session WRITE setSession NOTIFY sessionChanged)
    Q_PROPERTY(bool isCreating READ isCreating WRITE setIsCreating NOTIFY isCreatingChanged)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString confirm READ confirm WRITE setConfirm NOTIFY confirmChanged)
    // Empty when there is nothing to say.
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)

public:
    explicit AuthViewModel(QObject* parent = nullptr);

    Session* session() const { return m_session; }
    bool isCreating() const { return m_isCreating; }
    QString email() const { return m_email; }
    QString password() const { return m_password; }
    QString confirm() const { return m_confirm; }
    QString error() const { return m_error; }

    void setSession(Session* session);
    // Every change of the mode, also to the same mode, clears the message.
    void setIsCreating(bool creating);
    void setEmail(const QString& email);
    void setPassword(const QString& password);
    void setConfirm(const QString& confirm);

    // Signs in, or starts the sign-up flow after checking that the two passwords match.
    Q_INVOKABLE void submit();
    // Starts a password reset for the typed address.
    Q_INVOKABLE void forgot();

signals:
    void sessionChanged();
    void isCreatingChanged();
    void emailChanged();
    void passwordChanged();
    void confirmChanged();
    void errorChanged();

private:
    void setError(const QString& error);
    void takeSessionError(bool succeeded);

    QPointer<Session> m_session;
    bool m_isCreating = false;
    QString m_email;
    QString m_password;
    QString m_confirm;
    QString m_error;
};

} // namespace velmarto
