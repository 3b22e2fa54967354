#pragma once

#include "core/accounts/Flow.h"
#include "core/accounts/Phase.h"
#include "core/accounts/SessionDependencies.h"
#include "core/accounts/VerificationCode.h"
#include "core/accounts/mail/CodeDelivery.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

namespace velmarto {

// Who is signed in to one window, and the three flows confirmed by a mailed six-digit code:
// creating an account, resetting a forgotten password, changing the password. Lives on the main
// thread; every operation reports failure only through lastError. Texts that may be absent
// (lastError, fallbackCode, deliveryNote) are empty when absent. Each assignment notifies, also
// when the value stays the same, so a screen can react to the same message given twice.
class Session : public QObject {
    Q_OBJECT
    Q_PROPERTY(velmarto::Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(bool isSignedIn READ isSignedIn NOTIFY isSignedInChanged)
    Q_PROPERTY(QString currentEmail READ currentEmail NOTIFY currentEmailChanged)
    Q_PROPERTY(bool presentingChangePassword READ presentingChangePassword WRITE
                   setPresentingChangePassword NOTIFY presentingChangePasswordChanged)
    // A velmarto::Flow, or null while no flow is pending.
    Q_PROPERTY(QVariant pendingFlow READ pendingFlowValue NOTIFY pendingFlowChanged)
    Q_PROPERTY(QString lastError READ lastError WRITE setLastError NOTIFY lastErrorChanged)
    Q_PROPERTY(QString fallbackCode READ fallbackCode NOTIFY fallbackCodeChanged)
    Q_PROPERTY(bool isSendingCode READ isSendingCode NOTIFY isSendingCodeChanged)
    Q_PROPERTY(QString deliveryNote READ deliveryNote NOTIFY deliveryNoteChanged)

public:
    explicit Session(QObject* parent = nullptr);
    explicit Session(SessionDependencies dependencies, QObject* parent = nullptr);

    Phase phase() const { return m_phase; }
    bool isSignedIn() const { return m_phase.kind() == Phase::Kind::signedIn; }
    QString currentEmail() const { return m_phase.email(); }
    bool presentingChangePassword() const { return m_presentingChangePassword; }
    std::optional<Flow> pendingFlow() const { return m_pendingFlow; }
    QString lastError() const { return m_lastError; }
    QString fallbackCode() const { return m_fallbackCode; }
    bool isSendingCode() const { return m_isSendingCode; }
    QString deliveryNote() const { return m_deliveryNote; }

    void setPresentingChangePassword(bool presenting);
    // The verification screen reports a new password that differs from its confirmation here.
    void setLastError(const QString& message);

    Q_INVOKABLE void refresh();
    Q_INVOKABLE bool signIn(const QString& email, const QString& password);
    Q_INVOKABLE void signOut();
    Q_INVOKABLE bool beginSignUp(const QString& email, const QString& password);
    Q_INVOKABLE bool beginReset(const QString& email);
    Q_INVOKABLE void beginChangePassword();
    Q_INVOKABLE void resendCode();
    Q_INVOKABLE void cancelFlow();
    // newPassword is given only for the flows that set one; an absent one is empty.
    Q_INVOKABLE bool verify(const QString& code, const QString& newPassword = {});

signals:
    void phaseChanged();
    // Sent with every phaseChanged, for the two values derived from the phase.
    void isSignedInChanged();
    void currentEmailChanged();
    void presentingChangePasswordChanged();
    void pendingFlowChanged();
    void lastErrorChanged();
    void fallbackCodeChanged();
    void isSendingCodeChanged();
    void deliveryNoteChanged();

private:
    QVariant pendingFlowValue() const;

    void setPhase(const Phase& phase);
    void setPendingFlow(const std::optional<Flow>& flow);
    void setFallbackCode(const QString& code);
    void setIsSendingCode(bool sending);
    void setDeliveryNote(const QString& note);

    void enter(const QString& email);
    void issueCode(const QString& email);
    void finishDelivery(const QString& code, const QString& email, DeliveryResult result);
    bool completeSignUp(const Flow& flow);
    bool completePasswordChange(const Flow& flow, const QString& newPassword);
    AccountStore::UpdateOutcome updatePassword(const QString& email, const QString& password);

    SessionDependencies m_dependencies;

    Phase m_phase;
    bool m_presentingChangePassword = false;
    std::optional<Flow> m_pendingFlow;
    QString m_lastError;
    QString m_fallbackCode;
    bool m_isSendingCode = false;
    QString m_deliveryNote;

    VerificationCode m_code;
};

} // namespace velmarto
