#include "core/accounts/mail/MailDelivery.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <memory>

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

// Apart from the shared pool, which a conversion may keep busy for minutes.
QThreadPool& mailWorkers() {
    static QThreadPool pool;
    return pool;
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
    // The mail program blocks the thread it runs on for as long as it takes, so it runs on a
    // worker while the window keeps painting. It starts on a later turn of the event loop, never
    // inside the call that issued the code, and its result comes back to this object's thread.
    QTimer::singleShot(0, this, [this, code, email, completion] {
        auto promise = std::make_shared<QPromise<DeliveryResult>>();
        promise->start();
        // The watcher goes with this object, so a result that arrives after it is dropped.
        auto* watcher = new QFutureWatcher<DeliveryResult>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [watcher, completion] {
            watcher->deleteLater();
            completion(watcher->result());
        });
        watcher->setFuture(promise->future());
        mailWorkers().start([mail = m_mail, code, email, promise] {
            promise->addResult(deliveryResultOf(mail.send(code, email)));
            promise->finish();
        });
    });
}

} // namespace velmarto
