#include "core/accounts/Session.h"

#include "core/accounts/AccountRecords.h"
#include "core/accounts/EmailAddress.h"
#include "core/accounts/Graphemes.h"

#include <QPointer>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

const QString currentEmailKey = u"session.currentEmail"_s;
constexpr qsizetype minimumPasswordLength = 6;

const QString noAccountMessage = u"No account found for that email."_s;
const QString incorrectPasswordMessage = u"Incorrect password."_s;
const QString invalidEmailMessage = u"Enter a valid email address."_s;
const QString shortPasswordMessage = u"Password must be at least 6 characters."_s;
const QString accountExistsMessage = u"An account with that email already exists."_s;
const QString noVerificationMessage = u"No verification in progress."_s;
const QString expiredCodeMessage = u"That code has expired — tap Resend for a new one."_s;
const QString incorrectCodeMessage = u"Incorrect code."_s;
const QString accountsUnavailableMessage =
    u"Your accounts couldn't be read or saved just now, so nothing was changed. Try again."_s;
const QString relayFailedNote =
    u"Couldn't reach the mail server just now. Use the code below to continue."_s;

bool isLongEnough(const QString& password) {
    return graphemeCount(password) >= minimumPasswordLength;
}

} // namespace

Session::Session(QObject* parent)
    : Session(SessionDependencies::production(), parent) {}

Session::Session(SessionDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_dependencies(std::move(dependencies)) {
    refresh();
}

void Session::setPresentingChangePassword(bool presenting) {
    m_presentingChangePassword = presenting;
    emit presentingChangePasswordChanged();
}

void Session::setLastError(const QString& message) {
    m_lastError = message;
    emit lastErrorChanged();
}

void Session::refresh() {
    const QString email = m_dependencies.preferences.open()->value(currentEmailKey).toString();
    setPhase(email.isEmpty() ? Phase() : Phase::signedIn(email));
}

bool Session::signIn(const QString& email, const QString& password) {
    const QString normalised = normalisedEmail(email);
    const std::optional<Account> account =
        accountrecords::find(m_dependencies.accounts.loadAll(), normalised);
    if (!account) {
        setLastError(noAccountMessage);
        return false;
    }
    if (!accountrecords::passwordMatches(*account, password)) {
        setLastError(incorrectPasswordMessage);
        return false;
    }
    enter(normalised);
    return true;
}

void Session::signOut() {
    const std::unique_ptr<QSettings> preferences = m_dependencies.preferences.open();
    preferences->remove(currentEmailKey);
    preferences->sync();
    // A password change belongs to the account that is signing out; left pending, its code entry
    // would greet whoever uses the sign-in screen next and let them set that account's password.
    if (m_pendingFlow && m_pendingFlow->kind() == Flow::Kind::changePassword) {
        cancelFlow();
    }
    refresh();
}

bool Session::beginSignUp(const QString& email, const QString& password) {
    const QString normalised = normalisedEmail(email);
    if (!isValidEmail(normalised)) {
        setLastError(invalidEmailMessage);
        return false;
    }
    if (!isLongEnough(password)) {
        setLastError(shortPasswordMessage);
        return false;
    }
    if (accountrecords::find(m_dependencies.accounts.loadAll(), normalised)) {
        setLastError(accountExistsMessage);
        return false;
    }
    setLastError({});
    setPendingFlow(Flow::signUp(normalised, password));
    issueCode(normalised);
    return true;
}

bool Session::beginReset(const QString& email) {
    const QString normalised = normalisedEmail(email);
    if (!isValidEmail(normalised)) {
        setLastError(invalidEmailMessage);
        return false;
    }
    if (!accountrecords::find(m_dependencies.accounts.loadAll(), normalised)) {
        setLastError(noAccountMessage);
        return false;
    }
    setLastError({});
    setPendingFlow(Flow::reset(normalised));
    issueCode(normalised);
    return true;
}

void Session::beginChangePassword() {
    if (!isSignedIn()) {
        return;
    }
    const QString email = currentEmail();
    setLastError({});
    setPendingFlow(Flow::changePassword(email));
    setPresentingChangePassword(true);
    issueCode(email);
}

void Session::resendCode() {
    if (m_pendingFlow) {
        issueCode(m_pendingFlow->email());
    }
}

void Session::cancelFlow() {
    setPendingFlow(std::nullopt);
    m_code.forget();
    setFallbackCode({});
    setDeliveryNote({});
    setIsSendingCode(false);
    setPresentingChangePassword(false);
    setLastError({});
}

bool Session::verify(const QString& code, const QString& newPassword) {
    switch (m_code.check(code, m_dependencies.clock())) {
    case VerificationCode::Check::noneIssued:
        setLastError(noVerificationMessage);
        return false;
    case VerificationCode::Check::expired:
        setLastError(expiredCodeMessage);
        return false;
    case VerificationCode::Check::incorrect:
        setLastError(incorrectCodeMessage);
        return false;
    case VerificationCode::Check::accepted:
        break;
    }
    if (!m_pendingFlow) {
        return false;
    }
    const Flow flow = *m_pendingFlow;
    switch (flow.kind()) {
    case Flow::Kind::signUp:
        return completeSignUp(flow);
    case Flow::Kind::reset:
    case Flow::Kind::changePassword:
        return completePasswordChange(flow, newPassword);
    }
    return false;
}

QVariant Session::pendingFlowValue() const {
    return m_pendingFlow ? QVariant::fromValue(*m_pendingFlow) : QVariant();
}

void Session::setPhase(const Phase& phase) {
    m_phase = phase;
    emit phaseChanged();
    emit isSignedInChanged();
    emit currentEmailChanged();
}

void Session::setPendingFlow(const std::optional<Flow>& flow) {
    m_pendingFlow = flow;
    emit pendingFlowChanged();
}

void Session::setFallbackCode(const QString& code) {
    m_fallbackCode = code;
    emit fallbackCodeChanged();
}

void Session::setIsSendingCode(bool sending) {
    m_isSendingCode = sending;
    emit isSendingCodeChanged();
}

void Session::setDeliveryNote(const QString& note) {
    m_deliveryNote = note;
    emit deliveryNoteChanged();
}

void Session::enter(const QString& email) {
    const std::unique_ptr<QSettings> preferences = m_dependencies.preferences.open();
    preferences->setValue(currentEmailKey, email);
    preferences->sync();
    setLastError({});
    refresh();
}

void Session::issueCode(const QString& email) {
    const QString code = m_code.issue(m_dependencies.codeGenerator, m_dependencies.clock());
    setFallbackCode({});
    setDeliveryNote({});
    setIsSendingCode(true);

    // The delivery may outlive this session (a window closed while the relay is still busy);
    // its result is then dropped.
    const QPointer<Session> session(this);
    m_dependencies.delivery->deliver(code, email, [session, code, email](DeliveryResult result) {
        if (session) {
            session->finishDelivery(code, email, result);
        }
    });
}

void Session::finishDelivery(const QString& code, const QString& email, DeliveryResult result) {
    // A result for a code that was replaced or cancelled in the meantime would show a code that
    // is no longer accepted, or end the sending indicator of the delivery still under way.
    if (!m_code.isCurrent(code)) {
        return;
    }
    setIsSendingCode(false);
    const auto showCode = [this, &code](const QString& note) {
        setFallbackCode(code);
        setDeliveryNote(note);
    };
    switch (result) {
    case DeliveryResult::sent:
        setFallbackCode({});
        setDeliveryNote(u"We emailed a 6-digit code to "_s + email + u'.');
        break;
    case DeliveryResult::relayFailed:
        showCode(relayFailedNote);
        break;
    case DeliveryResult::mailNoAccount:
        showCode(m_dependencies.mail.noAccountNote);
        break;
    case DeliveryResult::mailNotPermitted:
        showCode(m_dependencies.mail.notPermittedNote);
        break;
    case DeliveryResult::mailFailed:
        showCode(m_dependencies.mail.failedNote);
        break;
    }
}

bool Session::completeSignUp(const Flow& flow) {
    const AccountStore::UpdateOutcome outcome = m_dependencies.accounts.update(
        // Another window may have created the same account since this code was issued.
        [&flow](QList<Account> accounts) {
            return accountrecords::withNewAccount(std::move(accounts), flow.email(),
                                                  flow.password());
        });
    switch (outcome) {
    case AccountStore::UpdateOutcome::declined:
        setLastError(accountExistsMessage);
        return false;
    case AccountStore::UpdateOutcome::failed:
        setLastError(accountsUnavailableMessage);
        return false;
    case AccountStore::UpdateOutcome::saved:
        break;
    }
    cancelFlow();
    enter(flow.email());
    return true;
}

bool Session::completePasswordChange(const Flow& flow, const QString& newPassword) {
    if (!isLongEnough(newPassword)) {
        setLastError(shortPasswordMessage);
        return false;
    }
    switch (updatePassword(flow.email(), newPassword)) {
    // The account was removed since the code was issued, or never read: reporting success here
    // would close the sheet with the old password still in place.
    case AccountStore::UpdateOutcome::declined:
        setLastError(noAccountMessage);
        return false;
    case AccountStore::UpdateOutcome::failed:
        setLastError(accountsUnavailableMessage);
        return false;
    case AccountStore::UpdateOutcome::saved:
        break;
    }
    cancelFlow();
    if (flow.kind() == Flow::Kind::reset) {
        enter(flow.email());
    }
    return true;
}

AccountStore::UpdateOutcome Session::updatePassword(const QString& email, const QString& password) {
    return m_dependencies.accounts.update([&email, &password](QList<Account> accounts) {
        return accountrecords::withNewPassword(std::move(accounts), email, password);
    });
}

} // namespace velmarto
