#pragma once

#include <QString>

namespace velmarto {

// How a verification code reaches the user when no relay is configured, and the notes that explain
// a failed delivery. The notes name the OS program that failed, so they differ per platform.
struct MailProfile {
    enum class Transport {
        // Mail is told by AppleScript; the script goes to osascript on standard input.
        mailAppleScript,
        // The local mail transport reads a complete message on standard input.
        sendmail,
    };

    Transport transport = Transport::sendmail;
    QString program;

    QString noAccountNote;
    QString notPermittedNote;
    QString failedNote;

    static MailProfile macOS();
    static MailProfile freedesktop();
};

} // namespace velmarto
