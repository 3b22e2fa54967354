#include "qml/accounts/AuthViewModel.h"

namespace velmarto {

using namespace Qt::StringLiterals;

AuthViewModel::AuthViewModel(QObject* parent)
    : QObject(parent) {}

void AuthViewModel::setSession(Session* session) {
    if (m_session != session) {
        m_session = session;
        emit sessionChanged();
    }
}

void AuthViewModel::setIsCreating(bool creating) {
    m_isCreating = creating;
    emit isCreatingChanged();
    setError({});
}

void AuthViewModel::setEmail(const QString& email) {
    if (m_email != email) {
        m_email = email;
        emit emailChanged();
    }
}

void AuthViewModel::setPassword(const QString& password) {
    if (m_password != password) {
        m_password = password;
        emit passwordChanged();
    }
}

void AuthViewModel::setConfirm(const QString& confirm) {
    if (m_confirm != confirm) {
        m_confirm = confirm;
        emit confirmChanged();
    }
}

void AuthViewModel::submit() {
    setError({});
    if (!m_session) {
        return;
    }
    if (!m_isCreating) {
        takeSessionError(m_session->signIn(m_email, m_password));
        return;
    }
    if (m_password != m_confirm) {
        setError(u"Passwords don't match."_s);
        return;
    }
    takeSessionError(m_session->beginSignUp(m_email, m_password));
}

void AuthViewModel::forgot() {
    setError({});
    if (!m_session) {
        return;
    }
    // Only a field without any character gets the hint; spaces go to the session, which
    // answers that the address is not valid.
    if (m_email.isEmpty()) {
        setError(u"Enter your email above first, then tap Forgot password."_s);
        return;
    }
    takeSessionError(m_session->beginReset(m_email));
}

void AuthViewModel::setError(const QString& error) {
    m_error = error;
    emit errorChanged();
}

void AuthViewModel::takeSessionError(bool succeeded) {
    if (!succeeded) {
        setError(m_session->lastError());
    }
}

} // namespace velmarto
