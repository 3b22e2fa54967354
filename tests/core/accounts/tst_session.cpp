#include "FakeCodeDelivery.h"
#include "FakeSecretStore.h"
#include "core/accounts/PasswordHashing.h"
#include "core/accounts/Session.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using namespace velmarto;

Q_DECLARE_METATYPE(velmarto::DeliveryResult)

namespace {

const QString service = u"com.local.velmarto.accounts"_s;
const QString key = u"accounts-db-v1"_s;

// The names of the notifications a session sends, in the order it sends them.
class NotificationLog {
public:
    explicit NotificationLog(Session& session) {
        const auto record = [this, &session](auto signal, const char* name) {
            QObject::connect(&session, signal, &session,
                             [this, name] { names.append(QString::fromLatin1(name)); });
        };
        record(&Session::phaseChanged, "phase");
        record(&Session::presentingChangePasswordChanged, "presentingChangePassword");
        record(&Session::pendingFlowChanged, "pendingFlow");
        record(&Session::lastErrorChanged, "lastError");
        record(&Session::fallbackCodeChanged, "fallbackCode");
        record(&Session::isSendingCodeChanged, "isSendingCode");
        record(&Session::deliveryNoteChanged, "deliveryNote");
    }

    QStringList names;
};

} // namespace

class TestSession : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    int m_testNumber = 0;
    std::shared_ptr<test::FakeSecretStore> m_secrets;
    std::shared_ptr<test::FakeCodeDelivery> m_delivery;
    PreferenceStore m_preferences;
    QDateTime m_now;
    quint32 m_nextCode = 0;

    std::unique_ptr<Session> makeSession() {
        return std::make_unique<Session>(SessionDependencies{
            .accounts = AccountStore(m_secrets, m_preferences),
            .preferences = m_preferences,
            .delivery = m_delivery,
            .mail = MailProfile::macOS(),
            .clock = [this] { return m_now; },
            .codeGenerator = [this] { return m_nextCode++; },
        });
    }

    QString lastCode() const { return m_delivery->requests.last().code; }
    void finishLastDelivery(DeliveryResult result) const {
        m_delivery->requests.last().completion(result);
    }

    void createAccount(Session& session, const QString& email, const QString& password) {
        QVERIFY(session.beginSignUp(email, password));
        QVERIFY(session.verify(lastCode()));
        session.signOut();
    }

    QList<Account> storedAccounts() const {
        return AccountStore(m_secrets, m_preferences).loadAll();
    }

private slots:
    void init() {
        m_secrets = std::make_shared<test::FakeSecretStore>();
        m_delivery = std::make_shared<test::FakeCodeDelivery>();
        m_preferences =
            PreferenceStore(m_directory.filePath(u"preferences-%1.ini"_s.arg(++m_testNumber)));
        m_now = QDateTime(QDate(2026, 3, 1), QTime(9, 30), QTimeZone::utc());
        m_nextCode = 42;
    }

    void signUpConfirmedByCodeSignsIn() {
        const auto session = makeSession();
        QVERIFY(!session->isSignedIn());

        QVERIFY(session->beginSignUp(u"  Ann@Example.COM\n"_s, u"secret"_s));
        QCOMPARE(session->pendingFlow(), Flow::signUp(u"ann@example.com"_s, u"secret"_s));
        QCOMPARE(session->pendingFlow()->title(), u"Verify your email"_s);
        QVERIFY(session->isSendingCode());
        QCOMPARE(m_delivery->requests.size(), 1);
        QCOMPARE(lastCode(), u"000042"_s);
        QCOMPARE(m_delivery->requests.last().email, u"ann@example.com"_s);

        QVERIFY(session->verify(u" 000042\n"_s));
        QCOMPARE(session->currentEmail(), u"ann@example.com"_s);
        QVERIFY(!session->pendingFlow());
        QVERIFY(session->lastError().isEmpty());
        const QList<Account> accounts = storedAccounts();
        QCOMPARE(accounts.size(), 1);
        QCOMPARE(accounts.first().hash, hashPassword(u"secret"_s, accounts.first().salt));
    }

    void signInTakesTheNormalisedAddress() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);

        QVERIFY(!session->signIn(u"bob@example.com"_s, u"secret"_s));
        QCOMPARE(session->lastError(), u"No account found for that email."_s);
        QVERIFY(!session->signIn(u"ann@example.com"_s, u"Secret"_s));
        QCOMPARE(session->lastError(), u"Incorrect password."_s);

        QVERIFY(session->signIn(u" ANN@example.com \n"_s, u"secret"_s));
        QCOMPARE(session->phase(), Phase::signedIn(u"ann@example.com"_s));
        QVERIFY(session->lastError().isEmpty());
    }

    void signUpRefusesBadInput_data() {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString invalid = u"Enter a valid email address."_s;
        const QString tooShort = u"Password must be at least 6 characters."_s;
        QTest::newRow("no @") << u"ann.example.com"_s << u"secret"_s << invalid;
        QTest::newRow("starts with @") << u"@example.com"_s << u"secret"_s << invalid;
        QTest::newRow("nothing after @") << u"ann@"_s << u"secret"_s << invalid;
        QTest::newRow("domain starts with .") << u"ann@.example"_s << u"secret"_s << invalid;
        QTest::newRow("domain without .") << u"ann@example"_s << u"secret"_s << invalid;
        QTest::newRow("two-character domain") << u"ann@e."_s << u"secret"_s << invalid;
        QTest::newRow("address before password") << u"ann"_s << u"abc"_s << invalid;
        QTest::newRow("five characters") << u"ann@example.com"_s << u"12345"_s << tooShort;
        QTest::newRow("five accented letters as ten code points")
            << u"ann@example.com"_s << u"e\u0301e\u0301e\u0301e\u0301e\u0301"_s << tooShort;
    }

    void signUpRefusesBadInput() {
        QFETCH(QString, email);
        QFETCH(QString, password);
        QFETCH(QString, message);
        const auto session = makeSession();
        QVERIFY(!session->beginSignUp(email, password));
        QCOMPARE(session->lastError(), message);
        QVERIFY(!session->pendingFlow());
        QVERIFY(m_delivery->requests.isEmpty());
    }

    void signUpAcceptsTheSmallestValidInput() {
        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"a@b.c"_s, u"123456"_s));
        QVERIFY(session->beginSignUp(u"b@b.c"_s, u"\U0001F44D\U0001F3FD\U0001F44D\U0001F3FD"
                                                 u"\U0001F44D\U0001F3FD\U0001F44D\U0001F3FD"
                                                 u"\U0001F44D\U0001F3FD\U0001F44D\U0001F3FD"_s));
    }

    void signUpForAnExistingAddressIssuesNoCode() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        const qsizetype deliveries = m_delivery->requests.size();

        QVERIFY(!session->beginSignUp(u"ANN@example.com"_s, u"another"_s));
        QCOMPARE(session->lastError(), u"An account with that email already exists."_s);
        QCOMPARE(m_delivery->requests.size(), deliveries);
    }

    void codeLivesJustUnderTenMinutes_data() {
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("599 s") << 599 << true;
        QTest::newRow("600 s") << 600 << false;
        QTest::newRow("601 s") << 601 << false;
    }

    void codeLivesJustUnderTenMinutes() {
        QFETCH(int, secondsLater);
        QFETCH(bool, accepted);
        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        m_now = m_now.addSecs(secondsLater);

        QCOMPARE(session->verify(lastCode()), accepted);
        if (!accepted) {
            QCOMPARE(session->lastError(), u"That code has expired — tap Resend for a new one."_s);
            QVERIFY(!session->verify(lastCode()));
            QCOMPARE(session->lastError(), u"That code has expired — tap Resend for a new one."_s);
        }
    }

    void resendReplacesTheCode() {
        const auto session = makeSession();
        QVERIFY(!session->verify(u"000042"_s));
        QCOMPARE(session->lastError(), u"No verification in progress."_s);

        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        m_now = m_now.addSecs(600);
        session->resendCode();
        QCOMPARE(lastCode(), u"000043"_s);

        QVERIFY(!session->verify(u"000042"_s));
        QCOMPARE(session->lastError(), u"Incorrect code."_s);
        QVERIFY(session->verify(u"000043"_s));
        QVERIFY(session->isSignedIn());
    }

    void resetSignsInWithTheNewPassword() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);

        QVERIFY(!session->beginReset(u"bob@example.com"_s));
        QCOMPARE(session->lastError(), u"No account found for that email."_s);
        QVERIFY(!session->beginReset(u"ann@"_s));
        QCOMPARE(session->lastError(), u"Enter a valid email address."_s);

        QVERIFY(session->beginReset(u" Ann@Example.com"_s));
        QCOMPARE(session->pendingFlow()->title(), u"Reset your password"_s);
        QVERIFY(session->pendingFlow()->needsNewPassword());
        const QString code = lastCode();
        QVERIFY(!session->verify(code, u"short"_s));
        QCOMPARE(session->lastError(), u"Password must be at least 6 characters."_s);
        QVERIFY(session->pendingFlow());

        QVERIFY(session->verify(code, u"renewed"_s));
        QCOMPARE(session->currentEmail(), u"ann@example.com"_s);
        QVERIFY(!session->pendingFlow());
        session->signOut();
        QVERIFY(!session->signIn(u"ann@example.com"_s, u"secret"_s));
        QVERIFY(session->signIn(u"ann@example.com"_s, u"renewed"_s));
        QCOMPARE(storedAccounts().size(), 1);
    }

    void changeKeepsTheUserSignedIn() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        const qsizetype deliveries = m_delivery->requests.size();
        session->beginChangePassword();
        QVERIFY(!session->pendingFlow());
        QCOMPARE(m_delivery->requests.size(), deliveries);

        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
        session->beginChangePassword();
        QVERIFY(session->presentingChangePassword());
        QCOMPARE(session->pendingFlow(), Flow::changePassword(u"ann@example.com"_s));
        QCOMPARE(session->pendingFlow()->title(), u"Change your password"_s);

        QVERIFY(session->verify(lastCode(), u"changed"_s));
        QVERIFY(session->isSignedIn());
        QVERIFY(!session->presentingChangePassword());
        session->signOut();
        QVERIFY(session->signIn(u"ann@example.com"_s, u"changed"_s));
    }

    void deliveryOutcomeShowsItsNote_data() {
        QTest::addColumn<DeliveryResult>("result");
        QTest::addColumn<bool>("showsCode");
        QTest::addColumn<QString>("note");
        QTest::newRow("sent") << DeliveryResult::sent << false
                              << u"We emailed a 6-digit code to ann@example.com."_s;
        QTest::newRow("relay failed")
            << DeliveryResult::relayFailed << true
            << u"Couldn't reach the mail server just now. Use the code below to continue."_s;
        QTest::newRow("no Mail account")
            << DeliveryResult::mailNoAccount << true
            << u"No account is set up in the macOS Mail app, so the email couldn't be sent. Add "
               u"one in System Settings → Internet Accounts, or use the code below."_s;
        QTest::newRow("Mail not permitted")
            << DeliveryResult::mailNotPermitted << true
            << u"Velmarto needs permission to send through Mail. Allow it under System Settings "
               u"→ Privacy & Security → Automation, then tap Resend. Meanwhile, use the code "
               u"below."_s;
        QTest::newRow("Mail failed")
            << DeliveryResult::mailFailed << true
            << u"Mail couldn't send the email automatically. Use the code below to continue."_s;
    }

    void deliveryOutcomeShowsItsNote() {
        QFETCH(DeliveryResult, result);
        QFETCH(bool, showsCode);
        QFETCH(QString, note);
        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        QVERIFY(session->deliveryNote().isEmpty());
        NotificationLog log(*session);

        finishLastDelivery(result);

        QVERIFY(!session->isSendingCode());
        QCOMPARE(session->fallbackCode(), showsCode ? u"000042"_s : QString());
        QCOMPARE(session->deliveryNote(), note);
        QCOMPARE(log.names,
                 (QStringList{u"isSendingCode"_s, u"fallbackCode"_s, u"deliveryNote"_s}));
    }

    void resendHidesTheShownCodeWhileSending() {
        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        finishLastDelivery(DeliveryResult::mailFailed);
        NotificationLog log(*session);

        session->resendCode();

        QVERIFY(session->fallbackCode().isEmpty());
        QVERIFY(session->deliveryNote().isEmpty());
        QVERIFY(session->isSendingCode());
        QCOMPARE(log.names,
                 (QStringList{u"fallbackCode"_s, u"deliveryNote"_s, u"isSendingCode"_s}));
    }

    void cancelFlowClearsEverythingInOrder() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
        session->beginChangePassword();
        finishLastDelivery(DeliveryResult::relayFailed);
        const QString code = lastCode();
        NotificationLog log(*session);

        session->cancelFlow();

        QCOMPARE(log.names,
                 (QStringList{u"pendingFlow"_s, u"fallbackCode"_s, u"deliveryNote"_s,
                              u"isSendingCode"_s, u"presentingChangePassword"_s, u"lastError"_s}));
        QVERIFY(!session->pendingFlow());
        QVERIFY(!session->verify(code, u"changed"_s));
        QCOMPARE(session->lastError(), u"No verification in progress."_s);
    }

    // A late result would show a code that no longer works, or end the sending indicator of the
    // delivery still under way.
    void resultOfAReplacedOrCancelledCodeIsDropped() {
        const auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        session->resendCode();
        m_delivery->requests.first().completion(DeliveryResult::relayFailed);
        QVERIFY(session->isSendingCode());
        QVERIFY(session->fallbackCode().isEmpty());

        session->cancelFlow();
        finishLastDelivery(DeliveryResult::relayFailed);
        QVERIFY(session->fallbackCode().isEmpty());
        QVERIFY(session->deliveryNote().isEmpty());
    }

    void discardedSessionIgnoresItsDelivery() {
        auto session = makeSession();
        QVERIFY(session->beginSignUp(u"ann@example.com"_s, u"secret"_s));
        session.reset();
        finishLastDelivery(DeliveryResult::sent);
    }

    void restartKeepsTheSignedInAddressUntilSignOut() {
        createAccount(*makeSession(), u"ann@example.com"_s, u"secret"_s);
        QVERIFY(makeSession()->signIn(u"ann@example.com"_s, u"secret"_s));

        const auto restarted = makeSession();
        QCOMPARE(restarted->currentEmail(), u"ann@example.com"_s);
        restarted->signOut();
        QVERIFY(!makeSession()->isSignedIn());
    }

    // Left pending, the code entry would greet the next person at the sign-in screen and let them
    // set a new password for the account that just signed out.
    void signOutEndsAPendingPasswordChange() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
        session->beginChangePassword();
        const QString code = lastCode();

        session->signOut();

        QVERIFY(!session->pendingFlow());
        QVERIFY(!session->presentingChangePassword());
        QVERIFY(!session->verify(code, u"stolen"_s));
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
    }

    // Two windows signing up the same address: the second record would never be reached, since
    // lookups take the first match.
    void secondSignUpOfTheSameAddressIsRefusedAtVerification() {
        const auto first = makeSession();
        const auto second = makeSession();
        QVERIFY(first->beginSignUp(u"ann@example.com"_s, u"first-password"_s));
        const QString firstCode = lastCode();
        QVERIFY(second->beginSignUp(u"ann@example.com"_s, u"second-password"_s));
        QVERIFY(first->verify(firstCode));

        QVERIFY(!second->verify(lastCode()));
        QCOMPARE(second->lastError(), u"An account with that email already exists."_s);
        QCOMPARE(storedAccounts().size(), 1);
        QVERIFY(!second->isSignedIn());
    }

    // A keychain read that fails in the middle of a sign-up (a locked keyring whose unlock prompt
    // was dismissed) used to read as "no accounts", and the new list replaced all the others.
    void failedReadDuringSignUpKeepsEveryAccount() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        createAccount(*session, u"bob@example.com"_s, u"secret"_s);
        const QList<QByteArray> before = m_secrets->items(service, key);
        QVERIFY(session->beginSignUp(u"cat@example.com"_s, u"secret"_s));

        m_secrets->readsToFail = 1;
        QVERIFY(!session->verify(lastCode()));

        QCOMPARE(session->lastError(),
                 u"Your accounts couldn't be read or saved just now, so nothing was changed. Try "
                 u"again."_s);
        QCOMPARE(m_secrets->items(service, key), before);
        QVERIFY(!m_preferences.open()->contains(u"velmarto.accounts.fallback"_s));
        QVERIFY(!session->isSignedIn());
        QCOMPARE(session->pendingFlow(), Flow::signUp(u"cat@example.com"_s, u"secret"_s));

        QVERIFY(session->verify(lastCode()));
        QCOMPARE(storedAccounts().size(), 3);
    }

    void failedReadDuringPasswordChangeKeepsTheOldPassword() {
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
        session->beginChangePassword();

        m_secrets->readsToFail = 1;
        QVERIFY(!session->verify(lastCode(), u"changed"_s));

        QVERIFY(session->presentingChangePassword());
        QVERIFY(session->pendingFlow());
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
    }

    // The signed-in address has no record, for example because the list could not be read when
    // it was. A change that saved nothing used to close the sheet as if it had worked.
    void passwordChangeWithoutARecordFailsAndKeepsTheSheet_data() {
        QTest::addColumn<bool>("reset");
        QTest::newRow("change") << false;
        QTest::newRow("reset of an account removed meanwhile") << true;
    }

    void passwordChangeWithoutARecordFailsAndKeepsTheSheet() {
        QFETCH(bool, reset);
        const auto session = makeSession();
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        if (reset) {
            QVERIFY(session->beginReset(u"ann@example.com"_s));
        } else {
            QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
            session->beginChangePassword();
        }
        m_secrets->remove(service, key);
        m_secrets->putItem(service, key, "[]");

        QVERIFY(!session->verify(lastCode(), u"changed"_s));

        QCOMPARE(session->lastError(), u"No account found for that email."_s);
        QCOMPARE(session->presentingChangePassword(), !reset);
        QVERIFY(session->pendingFlow());
        QVERIFY(storedAccounts().isEmpty());
    }

    // After a change reached the keychain, the preference copy written while the keychain
    // refused still held the old hash, and the old password worked whenever the keychain could
    // not be read.
    void oldPasswordStopsWorkingAfterAChangeReachedTheKeychain() {
        const auto session = makeSession();
        m_secrets->refusesAdds = true;
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        m_secrets->refusesAdds = false;
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
        session->beginChangePassword();
        QVERIFY(session->verify(lastCode(), u"changed"_s));

        m_secrets->failsReads = true;
        QVERIFY(!session->signIn(u"ann@example.com"_s, u"secret"_s));
        m_secrets->failsReads = false;
        QVERIFY(session->signIn(u"ann@example.com"_s, u"changed"_s));
    }

    void signInWorksFromThePreferenceCopyWhileTheKeychainCannotBeRead() {
        const auto session = makeSession();
        m_secrets->refusesAdds = true;
        createAccount(*session, u"ann@example.com"_s, u"secret"_s);
        m_secrets->failsReads = true;
        QVERIFY(session->signIn(u"ann@example.com"_s, u"secret"_s));
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
