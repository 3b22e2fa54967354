#pragma once

#include "core/accounts/mail/CodeDelivery.h"
#include "core/accounts/mail/EmailSender.h"
#include "core/accounts/mail/RemoteMailer.h"

#include <QObject>

#include <memory>

namespace velmarto {

// Exactly one way per code: the relay when it is configured, otherwise the platform's mail.
// There is no second attempt the other way, whatever the relay answers.
class MailDelivery final : public QObject, public CodeDelivery {
    Q_OBJECT

public:
    MailDelivery(std::unique_ptr<RemoteMailer> relay, EmailSender mail, QObject* parent = nullptr);

    void deliver(const QString& code, const QString& email, Completion completion) override;

private:
    std::unique_ptr<RemoteMailer> m_relay;
    EmailSender m_mail;
};

} // namespace velmarto
