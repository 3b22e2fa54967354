#include "accounts/mail/MailDelivery.h"

#include <QTimer>

namespace velmarto {

namespace {

DeliveryResult deliveryResultOf(EmailSender::Result result) {
    switch (result) {
    case EmailSender::Result::sent:
        return DeliveryResult::sent;
    case EmailSender::Result::noAccount:
        return DeliveryResult::mailNoAccount;
    case EmailSender::Result::notPermitted:
        return DeliveryResult::mailNotPermitted;
    case EmailSender::Result::failed:
        return DeliveryResult::mailFailed;
    }
    return DeliveryResult::mailFailed;
}

} // namespace

MailDelivery::MailDelivery(std::unique_ptr<RemoteMailer> relay, EmailSender mail, QObject* parent)
    : QObject(parent)
    , m_relay(std::move(relay))
    , m_mail(std::move(mail)) {}

void MailDelivery::deliver(const QString& code, const QString& email, Completion completion) {
    if (m_relay->isConfigured()) {
        m_relay->send(code, email, [completion](const RemoteMailer::Outcome& outcome) {
            completion(outcome ? DeliveryResult::sent : DeliveryResult::relayFailed);
        });
        return;
    }
    // The mail program blocks the thread it runs on, so it runs on a later turn of the event
    // loop, never inside the call that issued the code, and its result follows on the next turn.
    QTimer::singleShot(0, this, [this, code, email, completion] {
        const DeliveryResult result = deliveryResultOf(m_mail.send(code, email));
        QTimer::singleShot(0, this, [completion, result] { completion(result); });
    });
}

} // namespace velmarto
