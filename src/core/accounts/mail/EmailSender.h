#pragma once

#include "core/platform/MailProfile.h"

#include <QString>

#include <chrono>

class QProcess;

namespace velmarto {

// Mails a code without the relay, through the platform's own mail: on macOS a script that tells
// Mail to send it, elsewhere the local mail transport. Runs synchronously, so callers keep it off
// the thread that paints; a program still running after the time limit is stopped and the
// sending counts as failed.
class EmailSender {
public:
    enum class Result {
        sent,
        // Mail has no enabled account, or there is no mail transport.
        noAccount,
        // The platform refused to let Velmarto drive its mail.
        notPermitted,
        failed,
    };

    static constexpr std::chrono::milliseconds defaultTimeLimit{30'000};

    explicit EmailSender(MailProfile profile,
                         std::chrono::milliseconds timeLimit = defaultTimeLimit);

    Result send(const QString& code, const QString& email) const;

private:
    Result sendThroughMailApp(const QString& code, const QString& email) const;
    Result sendThroughSendmail(const QString& code, const QString& email) const;

    // Whether the program ended by itself within the time limit.
    bool finishesInTime(QProcess& program) const;

    MailProfile m_profile;
    std::chrono::milliseconds m_timeLimit;
};

} // namespace velmarto
