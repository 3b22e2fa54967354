#include "core/accounts/mail/RemoteMailer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// What this side did to a reply before it finished.
struct Exchange {
    bool pastDeadline = false;
    bool bodyCutOff = false;
    qint64 bodyBytes = 0;
};

RemoteMailer::Outcome outcomeOf(const QNetworkReply& reply, const Exchange& exchange) {
    if (exchange.pastDeadline) {
        return std::unexpected(u"The relay did not finish its answer in time."_s);
    }
    const QVariant statusAttribute = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool isHttp = statusAttribute.isValid();
    const int status = isHttp ? statusAttribute.toInt() : -1;
    const bool succeeded = isHttp && status >= 200 && status <= 299;
    // Qt reports an HTTP error status as a reply error too; such a reply still counts by its
    // status, and only the other errors are failures of the transport. A reply cut off here
    // counts by its status alone.
    const bool transportFailed = reply.error() != QNetworkReply::NoError && !exchange.bodyCutOff;
    if (transportFailed && (!isHttp || succeeded)) {
        return std::unexpected(reply.errorString());
    }
    if (succeeded) {
        return {};
    }
    return std::unexpected(u"Server returned %1."_s.arg(status));
}

} // namespace

RemoteMailer::RemoteMailer(Backend backend, QObject* parent)
    : QObject(parent)
    , m_backend(std::move(backend)) {}

void RemoteMailer::setTimeout(std::chrono::milliseconds timeout) {
    m_timeout = timeout;
}

void RemoteMailer::setSslConfiguration(const QSslConfiguration& configuration) {
    m_sslConfiguration = configuration;
}

void RemoteMailer::send(const QString& code, const QString& email, const Completion& completion) {
    if (!m_backend.isConfigured()) {
        QMetaObject::invokeMethod(
            this, [completion] { completion(std::unexpected(u"No backend configured."_s)); },
            Qt::QueuedConnection);
        return;
    }

    QNetworkRequest request(m_backend.endpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader(QByteArrayLiteral("Authorization"),
                         QByteArrayLiteral("Bearer ") + m_backend.token.toUtf8());
    request.setSslConfiguration(m_sslConfiguration);
    // The request carries the bearer token and the code: it goes to the configured endpoint and
    // nowhere else, so a redirect is answered like any other non-2xx status.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    const QJsonObject body{{u"email"_s, email}, {u"code"_s, code}};
    QNetworkReply* reply =
        m_network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    const auto exchange = std::make_shared<Exchange>();

    // A transfer timeout starts again with every byte, so a relay that trickles its answer
    // would hold the code back for ever; the deadline covers the whole exchange instead.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply, exchange] {
        exchange->pastDeadline = true;
        reply->abort();
    });
    deadline->start(m_timeout);

    // Otherwise the reply keeps the whole body in memory, however large the relay makes it.
    reply->setReadBufferSize(replyBodyLimit);
    connect(reply, &QNetworkReply::readyRead, reply, [reply, exchange] {
        exchange->bodyBytes += std::max<qint64>(reply->skip(reply->bytesAvailable()), 0);
        if (exchange->bodyBytes > replyBodyLimit) {
            exchange->bodyCutOff = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, exchange, completion] {
        reply->deleteLater();
        completion(outcomeOf(*reply, *exchange));
    });
}

} // namespace velmarto
