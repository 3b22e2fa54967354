#include "accounts/Session.h"

#include "accounts/EmailAddress.h"
#include "accounts/Graphemes.h"
#include "accounts/PasswordHashing.h"

#include <QPointer>

#include <algorithm>

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

QList<Account>::const_iterator findAccount(const QList<Account>& accounts, const QString& email) {
    return std::find_if(accounts.cbegin(), accounts.cend(),
                        [&email](const Account& account) { return account.email == email; });
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
    const QString normalized = normalizedEmail(email);
    const QList<Account> accounts = m_dependencies.accounts.loadAll();
    const auto account = findAccount(accounts, normalized);
    if (account == accounts.cend()) {
        setLastError(noAccountMessage);
        return false;
    }
    if (hashPassword(password, account->salt) != account->hash) {
        setLastError(incorrectPasswordMessage);
        return false;
    }
    enter(normalized);
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
    const QString normalized = normalizedEmail(email);
    if (!isValidEmail(normalized)) {
        setLastError(invalidEmailMessage);
        return false;
    }
    if (!isLongEnough(password)) {
        setLastError(shortPasswordMessage);
        return false;
    }
    const QList<Account> accounts = m_dependencies.accounts.loadAll();
    if (findAccount(accounts, normalized) != accounts.cend()) {
        setLastError(accountExistsMessage);
        return false;
    }
    setLastError({});
    setPendingFlow(Flow::signUp(normalized, password));
    issueCode(normalized);
    return true;
}

bool Session::beginReset(const QString& email) {
    const QString normalized = normalizedEmail(email);
    if (!isValidEmail(normalized)) {
        setLastError(invalidEmailMessage);
        return false;
    }
    const QList<Account> accounts = m_dependencies.accounts.loadAll();
    if (findAccount(accounts, normalized) == accounts.cend()) {
        setLastError(noAccountMessage);
        return false;
    }
    setLastError({});
    setPendingFlow(Flow::reset(normalized));
    issueCode(normalized);
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
    m_activeCode.reset();
    m_codeExpiry.reset();
    setFallbackCode({});
    setDeliveryNote({});
    setIsSendingCode(false);
    setPresentingChangePassword(false);
    setLastError({});
}

bool Session::verify(const QString& code, const QString& newPassword) {
    if (!m_activeCode || !m_codeExpiry) {
        setLastError(noVerificationMessage);
        return false;
    }
    if (m_dependencies.clock() >= *m_codeExpiry) {
        setLastError(expiredCodeMessage);
        return false;
    }
    if (code.trimmed() != *m_activeCode) {
        setLastError(incorrectCodeMessage);
        return false;
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
    const QString code =
        u"%1"_s.arg(static_cast<qulonglong>(m_dependencies.codeGenerator()), 6, 10, QChar(u'0'));
    m_activeCode = code;
    m_codeExpiry = m_dependencies.clock().addSecs(codeLifetimeSeconds);
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
    if (m_activeCode != code) {
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
        [&flow](QList<Account> accounts) -> std::optional<QList<Account>> {
            // Another window may have created the same account since this code was issued. A
            // second record would never be reached, because lookups take the first match, so this
            // sign-up would end with a password that never works.
            if (findAccount(accounts, flow.email()) != accounts.cend()) {
                return std::nullopt;
            }
            const QString salt = randomSalt();
            accounts.append(Account{flow.email(), salt, hashPassword(flow.password(), salt)});
            return accounts;
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
    return m_dependencies.accounts.update(
        [&email, &password](QList<Account> accounts) -> std::optional<QList<Account>> {
            const auto found = findAccount(accounts, email);
            if (found == accounts.cend()) {
                return std::nullopt;
            }
            const QString salt = randomSalt();
            accounts[std::distance(accounts.cbegin(), found)] =
                Account{email, salt, hashPassword(password, salt)};
            return accounts;
        });
}

} // namespace velmarto
