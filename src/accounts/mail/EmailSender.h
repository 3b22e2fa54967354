#pragma once

#include "platform/MailProfile.h"

#include <QString>

namespace velmarto {

// Mails a code without the relay, through the platform's own mail: on macOS a script that tells
// Mail to send it, elsewhere the local mail transport. Runs synchronously and waits for the
// program however long it takes.
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

    explicit EmailSender(MailProfile profile);

    Result send(const QString& code, const QString& email) const;

private:
    Result sendThroughMailApp(const QString& code, const QString& email) const;
    Result sendThroughSendmail(const QString& code, const QString& email) const;

    MailProfile m_profile;
};

} // namespace velmarto
