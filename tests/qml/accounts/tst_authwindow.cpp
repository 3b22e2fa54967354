#include "AuthWindow.h"
#include "SessionOverFakes.h"
#include "core/accounts/PasswordHashing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickItem>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using namespace velmarto;
using velmarto::test::AuthWindow;

namespace {

QStringList loggedMessages;

void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    loggedMessages.append(message);
}

} // namespace

// The sign-in screen, the code entry and the change-password sheet in an offscreen window, over
// a session with fake accounts and fake code delivery.
class TestAuthWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::SessionOverFakes> m_parts;

    std::unique_ptr<AuthWindow> openWindow() {
        auto window = std::make_unique<AuthWindow>(m_parts->makeSession());
        return window;
    }

    // Walks Tab from the current control and names every stop.
    static QStringList tabStops(AuthWindow& window, int count) {
        QStringList stops;
        for (int i = 0; i < count; ++i) {
            window.press(Qt::Key_Tab);
            stops.append(window.focused());
        }
        return stops;
    }

private slots:
    void init() {
        m_parts = std::make_unique<test::SessionOverFakes>();
        m_parts->addAccount(u"ann@example.com"_s, u"secret"_s);
        QGuiApplication::clipboard()->setText(u"untouched"_s);
    }

    void aReturningUserSignsInFromTheKeyboard() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        QCOMPARE(window->focused(), u"emailField"_s);
        QCOMPARE(window->text(u"heroTitle"_s), u"Sign in to Velmarto"_s);
        QVERIFY(!window->text(u"heroSubtitle"_s).isEmpty());
        QVERIFY(!window->shows(u"confirmField"_s));
        QVERIFY(window->shows(u"forgotLink"_s));
        QCOMPARE(window->text(u"submitButton"_s), u"Sign In"_s);

        window->type(u"ann@example.com"_s);
        window->press(Qt::Key_Tab);
        QCOMPARE(window->focused(), u"passwordField"_s);
        window->type(u"wrong!"_s);
        window->press(Qt::Key_Return);
        QVERIFY(window->shows(u"formError"_s));
        QCOMPARE(window->text(u"formError"_s), u"Incorrect password."_s);
        QVERIFY(!window->session().isSignedIn());

        window->press(Qt::Key_A, Qt::ControlModifier);
        window->type(u"secret"_s);
        window->press(Qt::Key_Return);
        QVERIFY(window->session().isSignedIn());
        QCOMPARE(window->session().currentEmail(), u"ann@example.com"_s);
    }

    void tabWalksEachScreenInReadingOrder() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        QCOMPARE(tabStops(*window, 6),
                 (QStringList{u"passwordField"_s, u"submitButton"_s, u"forgotLink"_s,
                              u"signInSegment"_s, u"createAccountSegment"_s, u"emailField"_s}));
        // Only keyboard focus draws the ring on a button.
        window->press(Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(window->item(u"createAccountSegment"_s)->property("visualFocus").toBool());

        window->press(Qt::Key_Space);
        QCOMPARE(window->text(u"heroTitle"_s), u"Create your account"_s);
        QCOMPARE(tabStops(*window, 6),
                 (QStringList{u"emailField"_s, u"passwordField"_s, u"confirmField"_s,
                              u"submitButton"_s, u"signInSegment"_s, u"createAccountSegment"_s}));

        window->press(Qt::Key_Tab);
        window->type(u"bob@example.com"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Return);
        QVERIFY(window->session().pendingFlow());
        QTRY_COMPARE(window->focused(), u"codeField"_s);
        QCOMPARE(tabStops(*window, 4), (QStringList{u"verifyButton"_s, u"resendLink"_s,
                                                    u"cancelLink"_s, u"codeField"_s}));
    }

    void mismatchedPasswordsIssueNoCode() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->click(u"createAccountSegment"_s);
        QVERIFY(window->shows(u"confirmField"_s));
        QVERIFY(!window->shows(u"forgotLink"_s));
        QCOMPARE(window->text(u"submitButton"_s), u"Create Account"_s);

        window->click(u"emailField"_s);
        window->type(u"bob@example.com"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secreT"_s);
        // Return on the focused main button submits too.
        window->press(Qt::Key_Tab);
        QCOMPARE(window->focused(), u"submitButton"_s);
        window->press(Qt::Key_Return);

        QCOMPARE(window->text(u"formError"_s), u"Passwords don't match."_s);
        QVERIFY(m_parts->delivery->requests.isEmpty());
        QVERIFY(!window->session().pendingFlow());
        QVERIFY(window->session().lastError().isEmpty());
    }

    void switchingModesClearsTheErrorButKeepsTheTexts() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->type(u"nobody@example.com"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Return);
        QCOMPARE(window->text(u"formError"_s), u"No account found for that email."_s);

        window->click(u"createAccountSegment"_s);
        QVERIFY(!window->shows(u"formError"_s));
        QCOMPARE(window->text(u"emailField"_s), u"nobody@example.com"_s);
        QCOMPARE(window->text(u"passwordField"_s), u"secret"_s);
        window->click(u"confirmField"_s);
        window->type(u"other1"_s);
        window->press(Qt::Key_Return);
        QCOMPARE(window->text(u"formError"_s), u"Passwords don't match."_s);

        // Return on the focused segment picks it, like Space.
        window->item(u"signInSegment"_s)->forceActiveFocus(Qt::TabFocusReason);
        window->press(Qt::Key_Return);
        QVERIFY(!window->shows(u"formError"_s));
        QVERIFY(!window->shows(u"confirmField"_s));
        window->click(u"createAccountSegment"_s);
        QCOMPARE(window->text(u"confirmField"_s), u"other1"_s);
    }

    void clickingAModeKeepsTheKeysInTheField() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->type(u"ann@"_s);

        window->click(u"createAccountSegment"_s);

        QCOMPARE(window->text(u"submitButton"_s), u"Create Account"_s);
        QCOMPARE(window->focused(), u"emailField"_s);
        window->type(u"example.com"_s);
        QCOMPARE(window->text(u"emailField"_s), u"ann@example.com"_s);
        window->click(u"signInSegment"_s);
        QCOMPARE(window->focused(), u"emailField"_s);
    }

    void forgotPasswordNeedsAnAddressFirst() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->click(u"forgotLink"_s);
        QCOMPARE(window->text(u"formError"_s),
                 u"Enter your email above first, then tap Forgot password."_s);
        QVERIFY(m_parts->delivery->requests.isEmpty());

        window->click(u"emailField"_s);
        window->type(u"   "_s);
        window->click(u"forgotLink"_s);
        QCOMPARE(window->text(u"formError"_s), u"Enter a valid email address."_s);

        window->click(u"emailField"_s);
        window->press(Qt::Key_A, Qt::ControlModifier);
        window->type(u"Ann@Example.com"_s);
        // The link works from the keyboard too.
        window->item(u"forgotLink"_s)->forceActiveFocus(Qt::TabFocusReason);
        window->press(Qt::Key_Return);
        QTRY_VERIFY(window->shows(u"codeField"_s));
        QCOMPARE(window->text(u"heroTitle"_s), u"Reset your password"_s);
        QCOMPARE(window->text(u"heroSubtitle"_s),
                 u"Enter the 6-digit code we emailed to ann@example.com."_s);
        QVERIFY(window->shows(u"newPasswordField"_s));
        QVERIFY(window->shows(u"confirmNewPasswordField"_s));
    }

    void aResetSetsTheNewPasswordAndSignsIn() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->type(u"ann@example.com"_s);
        window->click(u"forgotLink"_s);
        QTRY_COMPARE(window->focused(), u"codeField"_s);
        QVERIFY(window->input(u"newPasswordField"_s)->property("text").toString().isEmpty());

        window->type(m_parts->lastCode());
        window->press(Qt::Key_Tab);
        window->type(u"changed"_s);
        window->press(Qt::Key_Tab);
        window->type(u"changeD"_s);
        window->press(Qt::Key_Return);
        QCOMPARE(window->text(u"verificationError"_s), u"Passwords don't match."_s);
        QVERIFY(window->session().pendingFlow());

        window->press(Qt::Key_Backspace);
        window->type(u"d"_s);
        window->press(Qt::Key_Return);
        QVERIFY(window->session().isSignedIn());
        const Account account = m_parts->accounts().loadAll().first();
        QCOMPARE(account.hash, hashPassword(u"changed"_s, account.salt));
    }

    void aSignUpAsksOnlyForTheCodeAndReturnVerifies() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->click(u"createAccountSegment"_s);
        window->click(u"emailField"_s);
        window->type(u"bob@example.com"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Return);

        QTRY_COMPARE(window->focused(), u"codeField"_s);
        QCOMPARE(window->text(u"heroTitle"_s), u"Verify your email"_s);
        QCOMPARE(window->text(u"heroSubtitle"_s),
                 u"Enter the 6-digit code we emailed to bob@example.com."_s);
        QVERIFY(!window->shows(u"newPasswordField"_s));
        QVERIFY(!window->shows(u"confirmNewPasswordField"_s));
        QVERIFY(!window->shows(u"emailField"_s));

        window->type(u"999999"_s);
        window->press(Qt::Key_Return);
        QCOMPARE(window->text(u"verificationError"_s), u"Incorrect code."_s);

        window->press(Qt::Key_A, Qt::ControlModifier);
        window->type(u" "_s + m_parts->lastCode() + u" "_s);
        window->press(Qt::Key_Return);
        QCOMPARE(window->session().currentEmail(), u"bob@example.com"_s);
    }

    void cancelReturnsToTheFormWithItsTexts() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->click(u"createAccountSegment"_s);
        window->click(u"emailField"_s);
        window->type(u"bob@example.com"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Tab);
        window->type(u"secret"_s);
        window->press(Qt::Key_Return);
        QTRY_VERIFY(window->shows(u"codeField"_s));
        window->type(u"12"_s);

        window->click(u"cancelLink"_s);
        QTRY_VERIFY(window->shows(u"emailField"_s));
        QVERIFY(!window->session().pendingFlow());
        QCOMPARE(window->focused(), u"emailField"_s);
        QCOMPARE(window->text(u"heroTitle"_s), u"Create your account"_s);
        QCOMPARE(window->text(u"emailField"_s), u"bob@example.com"_s);
        QCOMPARE(window->text(u"passwordField"_s), u"secret"_s);
        QCOMPARE(window->text(u"confirmField"_s), u"secret"_s);

        // A new flow starts a new code entry with an empty code.
        window->press(Qt::Key_Return);
        QTRY_VERIFY(window->shows(u"codeField"_s));
        QVERIFY(window->text(u"codeField"_s).isEmpty());
    }

    void theDeliveryStatusShowsOneThingAtATime() {
        const auto window = openWindow();
        QVERIFY(window->ready());
        window->type(u"ann@example.com"_s);
        window->click(u"forgotLink"_s);
        QTRY_VERIFY(window->shows(u"codeField"_s));
        QVERIFY(window->shows(u"sendingRow"_s));
        QVERIFY(!window->shows(u"noteRow"_s));
        QVERIFY(!window->shows(u"codeBox"_s));

        m_parts->finishLastDelivery(DeliveryResult::sent);
        QVERIFY(window->shows(u"noteRow"_s));
        QCOMPARE(window->text(u"deliveryNote"_s),
                 u"We emailed a 6-digit code to ann@example.com."_s);
        QVERIFY(!window->shows(u"sendingRow"_s));

        window->item(u"resendLink"_s)->forceActiveFocus(Qt::TabFocusReason);
        window->press(Qt::Key_Space);
        QCOMPARE(m_parts->delivery->requests.size(), 2);
        QVERIFY(window->shows(u"sendingRow"_s));
        QVERIFY(!window->shows(u"noteRow"_s));

        m_parts->finishLastDelivery(DeliveryResult::relayFailed);
        QVERIFY(!window->shows(u"sendingRow"_s));
        QVERIFY(!window->shows(u"noteRow"_s));
        QVERIFY(window->shows(u"codeBox"_s));
        QCOMPARE(window->text(u"codeBoxNote"_s),
                 u"Couldn't reach the mail server just now. Use the code below to continue."_s);
        const QString code = m_parts->lastCode();
        QCOMPARE(window->text(u"fallbackCodeText"_s), u"Your code: "_s + code);

        // The code can be picked out with the mouse and copied.
        QQuickItem* codeText = window->item(u"fallbackCodeText"_s);
        QVERIFY(window->settle());
        QRectF lastDigit;
        QVERIFY(QMetaObject::invokeMethod(codeText, "positionToRectangle",
                                          Q_RETURN_ARG(QRectF, lastDigit),
                                          Q_ARG(int, codeText->property("length").toInt() - 1)));
        const QPointF onTheDigits = codeText->mapToScene(lastDigit.center());
        QTest::mouseDClick(&window->view(), Qt::LeftButton, {}, onTheDigits.toPoint());
        QCOMPARE(codeText->property("selectedText").toString(), code);
        QTest::keySequence(&window->view(), QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), code);
    }

    void passwordsStayMaskedAndOffTheClipboardAndTheLog() {
        const QString password = u"p4ssw0rd-never-shown"_s;
        loggedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
        {
            const auto window = openWindow();
            QVERIFY(window->ready());
            window->click(u"createAccountSegment"_s);
            window->click(u"emailField"_s);
            window->type(u"bob@example.com"_s);
            for (const QString& field : {u"passwordField"_s, u"confirmField"_s}) {
                window->press(Qt::Key_Tab);
                window->type(password);
                QQuickItem* entry = window->input(field);
                QCOMPARE(entry->property("echoMode").toInt(), 2); // TextInput.Password
                QVERIFY(!entry->property("displayText").toString().contains(password));
                window->press(Qt::Key_A, Qt::ControlModifier);
                QTest::keySequence(&window->view(), QKeySequence::Copy);
                QTest::keySequence(&window->view(), QKeySequence::Cut);
                QCOMPARE(QGuiApplication::clipboard()->text(), u"untouched"_s);
                QCOMPARE(entry->property("text").toString(), password);
            }
            window->press(Qt::Key_Return);
            QTRY_VERIFY(window->shows(u"codeField"_s));
            window->type(m_parts->lastCode());
            window->press(Qt::Key_Return);
            QVERIFY(window->session().isSignedIn());
        }
        qInstallMessageHandler(previous);
        for (const QString& message : std::as_const(loggedMessages)) {
            QVERIFY2(!message.contains(password), qPrintable(message));
        }
    }

    void theChangePasswordSheetFollowsTheSession() {
        const auto window = AuthWindow::withSheet(m_parts->makeSession());
        QVERIFY(window->ready());
        Session& session = window->session();
        QVERIFY(session.signIn(u"ann@example.com"_s, u"secret"_s));
        QVERIFY(!window->shows(u"codeField"_s));

        session.beginChangePassword();
        QTRY_VERIFY(window->shows(u"codeField"_s));
        QTRY_COMPARE(window->focused(), u"codeField"_s);
        QCOMPARE(window->text(u"heroTitle"_s), u"Change your password"_s);
        QVERIFY(window->shows(u"newPasswordField"_s));
        QVERIFY(window->shows(u"confirmNewPasswordField"_s));
        window->type(u"123"_s);

        window->click(u"cancelLink"_s);
        QTRY_VERIFY(!window->shows(u"codeField"_s));
        QVERIFY(!session.presentingChangePassword());
        QVERIFY(!session.pendingFlow());

        session.beginChangePassword();
        QTRY_VERIFY(window->shows(u"codeField"_s));
        QTRY_COMPARE(window->focused(), u"codeField"_s);
        QVERIFY(window->text(u"codeField"_s).isEmpty());
        window->type(m_parts->lastCode());
        window->press(Qt::Key_Tab);
        window->type(u"changed"_s);
        window->press(Qt::Key_Tab);
        window->type(u"changed"_s);
        window->press(Qt::Key_Return);
        QTRY_VERIFY(!window->shows(u"codeField"_s));
        QVERIFY(!session.presentingChangePassword());
        QCOMPARE(session.currentEmail(), u"ann@example.com"_s);
        const Account account = m_parts->accounts().loadAll().first();
        QCOMPARE(account.hash, hashPassword(u"changed"_s, account.salt));

        // Escape closes the sheet and the session hears of it.
        session.beginChangePassword();
        QTRY_COMPARE(window->focused(), u"codeField"_s);
        window->press(Qt::Key_Escape);
        QTRY_VERIFY(!window->shows(u"codeField"_s));
        QVERIFY(!session.presentingChangePassword());
    }
};

QTEST_MAIN(TestAuthWindow)
#include "tst_authwindow.moc"
