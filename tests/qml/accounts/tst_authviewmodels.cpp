#include "SessionOverFakes.h"
#include "core/accounts/PasswordHashing.h"
#include "qml/accounts/AuthViewModel.h"
#include "qml/accounts/VerificationViewModel.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

// The actions behind the sign-in form and the code entry, on a session over fakes.
class TestAuthViewModels : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::SessionOverFakes> m_parts;
    std::unique_ptr<Session> m_session;

    std::unique_ptr<AuthViewModel> authModel(bool creating, const QString& email,
                                             const QString& password, const QString& confirm) {
        auto model = std::make_unique<AuthViewModel>();
        model->setSession(m_session.get());
        model->setIsCreating(creating);
        model->setEmail(email);
        model->setPassword(password);
        model->setConfirm(confirm);
        return model;
    }

    std::unique_ptr<VerificationViewModel> verificationModel() {
        auto model = std::make_unique<VerificationViewModel>();
        model->setSession(m_session.get());
        return model;
    }

private slots:
    void init() {
        m_parts = std::make_unique<test::SessionOverFakes>();
        m_parts->addAccount(u"ann@example.com"_s, u"secret"_s);
        m_session = m_parts->makeSession();
    }

    void signInShowsItsOwnCopyOfTheSessionsMessage() {
        const auto model = authModel(false, u"ann@example.com"_s, u"wrong!"_s, {});
        model->submit();
        QCOMPARE(model->error(), u"Incorrect password."_s);

        // The session moves on; the form keeps what it showed until its next action.
        m_session->cancelFlow();
        QVERIFY(m_session->lastError().isEmpty());
        QCOMPARE(model->error(), u"Incorrect password."_s);

        model->setPassword(u"secret"_s);
        model->submit();
        QVERIFY(m_session->isSignedIn());
        QVERIFY(model->error().isEmpty());
    }

    void createAccountChecksTheConfirmationBeforeAskingTheSession() {
        const auto model = authModel(true, u"bob@example.com"_s, u"secret"_s, u"secreT"_s);
        m_session->setLastError(u"earlier"_s);
        model->submit();
        QCOMPARE(model->error(), u"Passwords don't match."_s);
        QCOMPARE(m_session->lastError(), u"earlier"_s);
        QVERIFY(!m_session->pendingFlow());
        QVERIFY(m_parts->delivery->requests.isEmpty());

        model->setConfirm(u"secret"_s);
        model->setEmail(u"bob"_s);
        model->submit();
        QCOMPARE(model->error(), u"Enter a valid email address."_s);

        model->setEmail(u" Bob@Example.com "_s);
        model->submit();
        QVERIFY(model->error().isEmpty());
        QCOMPARE(m_session->pendingFlow(), Flow::signUp(u"bob@example.com"_s, u"secret"_s));
        QCOMPARE(m_parts->delivery->requests.size(), 1);
    }

    void forgotPasswordHintsOnlyWhenTheFieldIsEmpty_data() {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString()
                               << u"Enter your email above first, then tap Forgot password."_s;
        QTest::newRow("spaces") << u"   "_s << u"Enter a valid email address."_s;
        QTest::newRow("unknown") << u"bob@example.com"_s << u"No account found for that email."_s;
        QTest::newRow("known") << u"ANN@example.com"_s << QString();
    }

    void forgotPasswordHintsOnlyWhenTheFieldIsEmpty() {
        QFETCH(QString, email);
        QFETCH(QString, message);
        const auto model = authModel(false, email, {}, {});
        model->forgot();
        QCOMPARE(model->error(), message);
        QCOMPARE(m_session->pendingFlow().has_value(), message.isEmpty());
        QCOMPARE(m_parts->delivery->requests.size(), message.isEmpty() ? 1 : 0);
    }

    void changingTheModeClearsTheMessageAndKeepsTheTexts() {
        const auto model = authModel(false, u"nobody@example.com"_s, u"secret"_s, u"other"_s);
        model->submit();
        QVERIFY(!model->error().isEmpty());
        QSignalSpy errorChanges(model.get(), &AuthViewModel::errorChanged);

        model->setIsCreating(true);
        QVERIFY(model->error().isEmpty());
        QCOMPARE(errorChanges.size(), 1);
        QCOMPARE(model->email(), u"nobody@example.com"_s);
        QCOMPARE(model->password(), u"secret"_s);
        QCOMPARE(model->confirm(), u"other"_s);
    }

    void aSignUpCodeIsVerifiedWithoutANewPassword() {
        QVERIFY(m_session->beginSignUp(u"bob@example.com"_s, u"secret"_s));
        const auto model = verificationModel();
        QVERIFY(!model->needsNewPassword());
        model->setCode(m_parts->lastCode());
        // Left over from nothing the user sees; a sign-up does not compare them.
        model->setNewPassword(u"one"_s);
        model->setConfirm(u"two"_s);
        model->submit();
        QCOMPARE(m_session->currentEmail(), u"bob@example.com"_s);
    }

    void aResetNeedsMatchingNewPasswords() {
        QVERIFY(m_session->beginReset(u"ann@example.com"_s));
        const auto model = verificationModel();
        QVERIFY(model->needsNewPassword());
        model->setCode(m_parts->lastCode());
        model->setNewPassword(u"changed"_s);
        model->setConfirm(u"changeD"_s);
        model->submit();
        QCOMPARE(m_session->lastError(), u"Passwords don't match."_s);
        QVERIFY(m_session->pendingFlow());

        model->setConfirm(u"changed"_s);
        model->submit();
        QCOMPARE(m_session->currentEmail(), u"ann@example.com"_s);
        const Account account = m_parts->accounts().loadAll().first();
        QCOMPARE(account.hash, hashPassword(u"changed"_s, account.salt));
    }

    void eachNewFlowStartsWithEmptyFields() {
        const auto model = verificationModel();
        QSignalSpy changes(model.get(), &VerificationViewModel::needsNewPasswordChanged);
        QVERIFY(!model->needsNewPassword());
        QVERIFY(m_session->beginReset(u"ann@example.com"_s));
        QVERIFY(model->needsNewPassword());
        QVERIFY(!changes.isEmpty());

        model->setCode(u"123"_s);
        model->setNewPassword(u"changed"_s);
        model->setConfirm(u"changed"_s);
        // A resend keeps the flow and what was typed.
        m_session->resendCode();
        QCOMPARE(model->code(), u"123"_s);
        m_session->cancelFlow();
        QVERIFY(!model->needsNewPassword());
        QVERIFY(m_session->beginReset(u"ann@example.com"_s));
        QVERIFY(model->code().isEmpty());
        QVERIFY(model->newPassword().isEmpty());
        QVERIFY(model->confirm().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAuthViewModels)
#include "tst_authviewmodels.moc"
