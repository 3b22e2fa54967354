#include "core/accounts/mail/EmailSender.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

const QString subject = u"Your Velmarto verification code"_s;

QString bodyFor(const QString& code) {
    return u"Your Velmarto verification code is "_s + code +
           u". It expires in 10 minutes. If you didn't request this, you can ignore this email."_s;
}

// Backslashes first, so the backslashes added for quotes are not doubled again.
QString escapedForAppleScript(QString text) {
    return text.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
}

QString mailScript(const QString& code, const QString& email) {
    return QStringList{
        u"tell application \"Mail\""_s,
        u"    if (count of accounts whose enabled is true) is 0 then error \"no-account\" number 7777"_s,
        u"    set msg to make new outgoing message with properties {subject:\""_s +
            escapedForAppleScript(subject) + u"\", content:\""_s +
            escapedForAppleScript(bodyFor(code)) + u"\", visible:false}"_s,
        u"    tell msg"_s,
        u"        make new to recipient at end of to recipients with properties {address:\""_s +
            escapedForAppleScript(email) + u"\"}"_s,
        u"        send"_s,
        u"    end tell"_s,
        u"end tell"_s,
    }
        .join(u'\n');
}

// osascript ends a failed run with a line such as
// "execution error: Mail got an error: Not authorized to send Apple events to Mail. (-1743)".
std::optional<int> appleScriptErrorNumber(const QString& errorOutput) {
    static const QRegularExpression number(u"\\((-?\\d+)\\)\\s*$"_s);
    const QRegularExpressionMatch match = number.match(errorOutput);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1).toInt();
}

EmailSender::Result resultOfAppleScriptError(std::optional<int> number) {
    if (number == 7777) {
        return EmailSender::Result::noAccount;
    }
    if (number == -1743 || number == -1728 || number == -600) {
        return EmailSender::Result::notPermitted;
    }
    return EmailSender::Result::failed;
}

// A line break in the address would start a header of the sender's choosing; other control
// characters have no business in an address either.
bool hasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar character) {
        return character.category() == QChar::Other_Control;
    });
}

QByteArray sendmailMessage(const QString& code, const QString& email) {
    const QString message = u"To: "_s + email + u"\nSubject: "_s + subject +
                            u"\nMIME-Version: 1.0\n"
                            u"Content-Type: text/plain; charset=UTF-8\n"
                            u"Content-Transfer-Encoding: 8bit\n\n"_s +
                            bodyFor(code) + u'\n';
    return message.toUtf8();
}

// sendmail's exit status for a refused permission (EX_NOPERM in sysexits.h).
constexpr int sendmailPermissionDenied = 77;

} // namespace

EmailSender::EmailSender(MailProfile profile, std::chrono::milliseconds timeLimit)
    : m_profile(std::move(profile))
    , m_timeLimit(timeLimit) {}

EmailSender::Result EmailSender::send(const QString& code, const QString& email) const {
    switch (m_profile.transport) {
    case MailProfile::Transport::mailAppleScript:
        return sendThroughMailApp(code, email);
    case MailProfile::Transport::sendmail:
        return sendThroughSendmail(code, email);
    }
    return Result::failed;
}

EmailSender::Result EmailSender::sendThroughMailApp(const QString& code,
                                                    const QString& email) const {
    // The script goes in on standard input rather than as an argument: it holds the code, and
    // arguments are visible to every user of the machine.
    QProcess osascript;
    osascript.start(m_profile.program, {});
    if (!osascript.waitForStarted(-1)) {
        return Result::failed;
    }
    osascript.write(mailScript(code, email).toUtf8());
    osascript.closeWriteChannel();
    if (!finishesInTime(osascript) || osascript.exitStatus() != QProcess::NormalExit) {
        return Result::failed;
    }
    if (osascript.exitCode() != 0) {
        const QString errorOutput = QString::fromUtf8(osascript.readAllStandardError()).trimmed();
        return resultOfAppleScriptError(appleScriptErrorNumber(errorOutput));
    }
    return osascript.readAllStandardOutput().trimmed().isEmpty() ? Result::failed : Result::sent;
}

EmailSender::Result EmailSender::sendThroughSendmail(const QString& code,
                                                     const QString& email) const {
    if (hasControlCharacter(email)) {
        return Result::failed;
    }
    if (!QFileInfo::exists(m_profile.program)) {
        return Result::noAccount;
    }
    // "--" ends the options, so an address that starts with "-" cannot pass itself off as one.
    QProcess sendmail;
    sendmail.start(m_profile.program, {u"-i"_s, u"--"_s, email});
    if (!sendmail.waitForStarted(-1)) {
        return Result::failed;
    }
    sendmail.write(sendmailMessage(code, email));
    sendmail.closeWriteChannel();
    if (!finishesInTime(sendmail) || sendmail.exitStatus() != QProcess::NormalExit) {
        return Result::failed;
    }
    if (sendmail.exitCode() == 0) {
        return Result::sent;
    }
    return sendmail.exitCode() == sendmailPermissionDenied ? Result::notPermitted : Result::failed;
}

bool EmailSender::finishesInTime(QProcess& program) const {
    if (program.waitForFinished(static_cast<int>(m_timeLimit.count()))) {
        return true;
    }
    // A transport that hangs (an unreachable smarthost, a prompt nobody answers) would hold the
    // code back for as long as it likes; the code is shown on screen instead.
    program.kill();
    program.waitForFinished(-1);
    return false;
}

} // namespace velmarto
