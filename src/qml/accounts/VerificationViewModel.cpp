#include "qml/accounts/VerificationViewModel.h"

namespace velmarto {

using namespace Qt::StringLiterals;

VerificationViewModel::VerificationViewModel(QObject* parent)
    : QObject(parent) {}

bool VerificationViewModel::needsNewPassword() const {
    const std::optional<Flow> flow = m_session ? m_session->pendingFlow() : std::nullopt;
    return flow && flow->needsNewPassword();
}

void VerificationViewModel::setSession(Session* session) {
    if (m_session == session) {
        return;
    }
    disconnect(m_flowConnection);
    m_session = session;
    if (session) {
        m_flowConnection = connect(session, &Session::pendingFlowChanged, this,
                                   &VerificationViewModel::flowChanged);
    }
    emit sessionChanged();
    emit needsNewPasswordChanged();
}

void VerificationViewModel::setCode(const QString& code) {
    if (m_code != code) {
        m_code = code;
        emit codeChanged();
    }
}

void VerificationViewModel::setNewPassword(const QString& newPassword) {
    if (m_newPassword != newPassword) {
        m_newPassword = newPassword;
        emit newPasswordChanged();
    }
}

void VerificationViewModel::setConfirm(const QString& confirm) {
    if (m_confirm != confirm) {
        m_confirm = confirm;
        emit confirmChanged();
    }
}

void VerificationViewModel::flowChanged() {
    setCode({});
    setNewPassword({});
    setConfirm({});
    emit needsNewPasswordChanged();
}

void VerificationViewModel::submit() {
    if (!m_session) {
        return;
    }
    if (!needsNewPassword()) {
        m_session->verify(m_code);
        return;
    }
    if (m_newPassword != m_confirm) {
        m_session->setLastError(u"Passwords don't match."_s);
        return;
    }
    m_session->verify(m_code, m_newPassword);
}

} // namespace velmarto
