#include "FakeProgram.h"
#include "core/accounts/mail/EmailSender.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

Q_DECLARE_METATYPE(velmarto::EmailSender::Result)

namespace {

const QString body = u"Your Velmarto verification code is 123456. It expires in 10 minutes. If "
                     u"you didn't request this, you can ignore this email."_s;

MailProfile macOSWith(const test::FakeProgram& osascript) {
    MailProfile profile = MailProfile::macOS();
    profile.program = osascript.path();
    return profile;
}

MailProfile freedesktopWith(const QString& sendmail) {
    MailProfile profile = MailProfile::freedesktop();
    profile.program = sendmail;
    return profile;
}

} // namespace

class TestEmailSender : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    std::unique_ptr<test::FakeProgram> m_osascript;
    std::unique_ptr<test::FakeProgram> m_sendmail;

private slots:
    void init() {
        m_osascript = std::make_unique<test::FakeProgram>(m_directory.path(), u"osascript"_s);
        m_sendmail = std::make_unique<test::FakeProgram>(m_directory.path(), u"sendmail"_s);
    }

    void cleanup() {
        QFile::remove(m_osascript->path() + u".runs"_s);
        QFile::remove(m_sendmail->path() + u".runs"_s);
    }

    void mailScriptIsPassedOnStandardInput() {
        m_osascript->prepareReply(0, "true\n");
        const EmailSender sender(macOSWith(*m_osascript));

        QCOMPARE(sender.send(u"123456"_s, u"ann@example.com"_s), EmailSender::Result::sent);

        QCOMPARE(m_osascript->lastArguments(), QStringList());
        QCOMPARE(QString::fromUtf8(m_osascript->lastStandardInput()),
                 u"tell application \"Mail\"\n"
                 u"    if (count of accounts whose enabled is true) is 0 then error \"no-account\" "
                 u"number 7777\n"
                 u"    set msg to make new outgoing message with properties {subject:\"Your "
                 u"Velmarto verification code\", content:\""_s +
                     body +
                     u"\", visible:false}\n"
                     u"    tell msg\n"
                     u"        make new to recipient at end of to recipients with properties "
                     u"{address:\"ann@example.com\"}\n"
                     u"        send\n"
                     u"    end tell\n"
                     u"end tell"_s);
    }

    void addressStaysOneAppleScriptString_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("inScript");
        QTest::newRow("double quote") << u"a\"b@x.com"_s << u"{address:\"a\\\"b@x.com\"}"_s;
        QTest::newRow("backslash") << u"a\\b@x.com"_s << u"{address:\"a\\\\b@x.com\"}"_s;
        QTest::newRow("backslash before quote")
            << u"a\\\"@x.com"_s << u"{address:\"a\\\\\\\"@x.com\"}"_s;
    }

    void addressStaysOneAppleScriptString() {
        QFETCH(QString, address);
        QFETCH(QString, inScript);
        m_osascript->prepareReply(0, "true\n");
        EmailSender(macOSWith(*m_osascript)).send(u"123456"_s, address);
        QVERIFY2(QString::fromUtf8(m_osascript->lastStandardInput()).contains(inScript),
                 m_osascript->lastStandardInput().constData());
    }

    void appleScriptErrorNumbersMap_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("errorOutput");
        QTest::addColumn<EmailSender::Result>("result");
        QTest::newRow("no enabled account")
            << 1 << QByteArray()
            << QByteArray("18:97: execution error: Mail got an error: no-account (7777)\n")
            << EmailSender::Result::noAccount;
        QTest::newRow("automation refused")
            << 1 << QByteArray()
            << QByteArray("execution error: Not authorized to send Apple events to Mail. (-1743)\n")
            << EmailSender::Result::notPermitted;
        QTest::newRow("Mail not reachable")
            << 1 << QByteArray()
            << QByteArray("execution error: Mail got an error: Can’t get account. (-1728)\n")
            << EmailSender::Result::notPermitted;
        QTest::newRow("application not running")
            << 1 << QByteArray()
            << QByteArray("execution error: Application isn’t running. (-600)\n")
            << EmailSender::Result::notPermitted;
        QTest::newRow("other number")
            << 1 << QByteArray() << QByteArray("syntax error: Expected end of line. (-2741)\n")
            << EmailSender::Result::failed;
        QTest::newRow("no number") << 1 << QByteArray() << QByteArray("osascript: crashed\n")
                                   << EmailSender::Result::failed;
        QTest::newRow("success without a result")
            << 0 << QByteArray() << QByteArray() << EmailSender::Result::failed;
    }

    void appleScriptErrorNumbersMap() {
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, errorOutput);
        QFETCH(EmailSender::Result, result);
        m_osascript->prepareReply(exitCode, output, errorOutput);
        QCOMPARE(EmailSender(macOSWith(*m_osascript)).send(u"123456"_s, u"ann@example.com"_s),
                 result);
    }

    void sendmailGetsRecipientArgumentAndBuiltHeaders() {
        const EmailSender sender(freedesktopWith(m_sendmail->path()));
        QCOMPARE(sender.send(u"123456"_s, u"ann@example.com"_s), EmailSender::Result::sent);

        QCOMPARE(m_sendmail->lastArguments(),
                 (QStringList{u"-i"_s, u"--"_s, u"ann@example.com"_s}));
        QCOMPARE(QString::fromUtf8(m_sendmail->lastStandardInput()),
                 u"To: ann@example.com\n"
                 u"Subject: Your Velmarto verification code\n"
                 u"MIME-Version: 1.0\n"
                 u"Content-Type: text/plain; charset=UTF-8\n"
                 u"Content-Transfer-Encoding: 8bit\n"
                 u"\n"_s +
                     body + u'\n');
    }

    void sendmailTakesQuotesAndBackslashesVerbatim_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("double quote") << u"a\"b@x.com"_s;
        QTest::newRow("backslash") << u"a\\b@x.com"_s;
        QTest::newRow("leading hyphen") << u"-oQ/tmp@x.com"_s;
    }

    void sendmailTakesQuotesAndBackslashesVerbatim() {
        QFETCH(QString, address);
        EmailSender(freedesktopWith(m_sendmail->path())).send(u"123456"_s, address);
        QCOMPARE(m_sendmail->lastArguments(), (QStringList{u"-i"_s, u"--"_s, address}));
        QVERIFY(m_sendmail->lastStandardInput().startsWith(
            QByteArray("To: " + address.toUtf8() + '\n')));
    }

    void lineBreakInAddressIsRefusedBeforeSendmailRuns_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("line feed") << u"ann@example.com\nBcc: eve@example.com"_s;
        QTest::newRow("carriage return") << u"ann@example.com\rBcc: eve@example.com"_s;
        QTest::newRow("CR LF") << u"ann@example.com\r\nBcc: eve@example.com"_s;
    }

    void lineBreakInAddressIsRefusedBeforeSendmailRuns() {
        QFETCH(QString, address);
        QCOMPARE(EmailSender(freedesktopWith(m_sendmail->path())).send(u"123456"_s, address),
                 EmailSender::Result::failed);
        QCOMPARE(m_sendmail->runCount(), 0);
    }

    void sendmailOutcomesMap_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<EmailSender::Result>("result");
        QTest::newRow("permission refused") << 77 << EmailSender::Result::notPermitted;
        QTest::newRow("other failure") << 1 << EmailSender::Result::failed;
    }

    void sendmailOutcomesMap() {
        QFETCH(int, exitCode);
        QFETCH(EmailSender::Result, result);
        m_sendmail->prepareReply(exitCode);
        QCOMPARE(EmailSender(freedesktopWith(m_sendmail->path()))
                     .send(u"123456"_s, u"ann@example.com"_s),
                 result);
    }

    // A hanging transport used to hold the code back for as long as it ran.
    void programPastTheTimeLimitFails_data() {
        QTest::addColumn<bool>("sendmail");
        QTest::newRow("sendmail") << true;
        QTest::newRow("osascript") << false;
    }

    void programPastTheTimeLimitFails() {
        QFETCH(bool, sendmail);
        const test::FakeProgram& program = sendmail ? *m_sendmail : *m_osascript;
        program.prepareReply(0, "true\n");
        program.prepareDelay(10);
        const EmailSender sender(sendmail ? freedesktopWith(program.path()) : macOSWith(program),
                                 std::chrono::milliseconds(500));
        QElapsedTimer elapsed;
        elapsed.start();

        QCOMPARE(sender.send(u"123456"_s, u"ann@example.com"_s), EmailSender::Result::failed);
        QVERIFY2(elapsed.elapsed() < 5'000, qPrintable(QString::number(elapsed.elapsed())));
    }

    void missingTransportMeansNoAccount() {
        const EmailSender sender(freedesktopWith(m_directory.filePath(u"no-sendmail"_s)));
        QCOMPARE(sender.send(u"123456"_s, u"ann@example.com"_s), EmailSender::Result::noAccount);
    }
};

QTEST_GUILESS_MAIN(TestEmailSender)
#include "tst_emailsender.moc"
