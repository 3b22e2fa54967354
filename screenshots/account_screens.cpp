#include "AuthWindow.h"
#include "SessionOverFakes.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using namespace velmarto;
using velmarto::test::AuthWindow;

// Walks the account screens through their states and keeps a picture of each in the build tree,
// in the light and in a dark palette, for people to compare with the intended layout.
class TestAuthScreenshots : public QObject {
    Q_OBJECT

private:
    static void save(AuthWindow& window, const QString& name, const QString& appearance) {
        QVERIFY(window.settle());
        const QString path = QStringLiteral(VELMARTO_SCREENSHOT_DIR) + u"/auth-"_s + name + u'-' +
                             appearance + u".png"_s;
        QVERIFY2(window.view().grabWindow().save(path), qPrintable(path));
        qInfo("wrote %s", qPrintable(path));
    }

    static QPalette darkPalette() {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x20));
        palette.setColor(QPalette::WindowText, QColor(0xf2, 0xf2, 0xf5));
        palette.setColor(QPalette::Base, QColor(0x28, 0x28, 0x2b));
        palette.setColor(QPalette::Text, QColor(0xf2, 0xf2, 0xf5));
        palette.setColor(QPalette::Button, QColor(0x2c, 0x2c, 0x30));
        palette.setColor(QPalette::ButtonText, QColor(0xf2, 0xf2, 0xf5));
        return palette;
    }

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(VELMARTO_SCREENSHOT_DIR))); }

    void eachState_data() {
        QTest::addColumn<QString>("appearance");
        QTest::newRow("light") << u"light"_s;
        QTest::newRow("dark") << u"dark"_s;
    }

    void eachState() {
        QFETCH(QString, appearance);
        const QPalette original = QGuiApplication::palette();
        if (appearance == u"dark"_s) {
            QGuiApplication::setPalette(darkPalette());
        }
        test::SessionOverFakes parts;
        parts.addAccount(u"ann@example.com"_s, u"secret"_s);
        {
            AuthWindow window(parts.makeSession());
            window.view().resize(900, 720);
            QVERIFY(window.ready());
            window.type(u"ann@example.com"_s);
            save(window, u"1-sign-in"_s, appearance);

            window.click(u"createAccountSegment"_s);
            window.click(u"emailField"_s);
            window.press(Qt::Key_A, Qt::ControlModifier);
            window.type(u"new.user@example.com"_s);
            window.press(Qt::Key_Tab);
            window.type(u"secret"_s);
            window.press(Qt::Key_Tab);
            window.type(u"secreT"_s);
            window.press(Qt::Key_Return);
            QCOMPARE(window.text(u"formError"_s), u"Passwords don't match."_s);
            save(window, u"2-create-account-error"_s, appearance);

            window.press(Qt::Key_Backspace);
            window.type(u"t"_s);
            window.press(Qt::Key_Return);
            QTRY_VERIFY(window.shows(u"sendingRow"_s));
            // The spinner fades in.
            QTest::qWait(300);
            save(window, u"3-code-sending"_s, appearance);

            parts.finishLastDelivery(DeliveryResult::relayFailed);
            window.type(u"04"_s);
            save(window, u"4-code-fallback"_s, appearance);
        }
        {
            const auto window = AuthWindow::withSheet(parts.makeSession());
            window->view().resize(900, 720);
            QVERIFY(window->ready());
            QVERIFY(window->session().signIn(u"ann@example.com"_s, u"secret"_s));
            window->session().beginChangePassword();
            parts.finishLastDelivery(DeliveryResult::sent);
            QTRY_COMPARE(window->focused(), u"codeField"_s);
            save(*window, u"5-change-password"_s, appearance);
        }
        QGuiApplication::setPalette(original);
    }
};

QTEST_MAIN(TestAuthScreenshots)
#include "account_screens.moc"
