#include "accounts/mail/RemoteMailer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

RemoteMailer::Outcome outcomeOf(const QNetworkReply& reply) {
    const QVariant statusAttribute = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const std::optional<int> status =
        statusAttribute.isValid() ? std::optional(statusAttribute.toInt()) : std::nullopt;
    const bool succeeded = status && *status >= 200 && *status <= 299;
    // Qt reports an HTTP error status as a reply error too; such a reply still counts by its
    // status, and only the other errors are failures of the transport.
    if (reply.error() != QNetworkReply::NoError && (!status || succeeded)) {
        return std::unexpected(reply.errorString());
    }
    if (succeeded) {
        return {};
    }
    return std::unexpected(u"Server returned %1."_s.arg(status.value_or(-1)));
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

void RemoteMailer::send(const QString& code, const QString& email, Completion completion) {
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
    request.setTransferTimeout(static_cast<int>(m_timeout.count()));
    request.setSslConfiguration(m_sslConfiguration);
    // The request carries the bearer token and the code: it goes to the configured endpoint and
    // nowhere else, so a redirect is answered like any other non-2xx status.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    const QJsonObject body{{u"email"_s, email}, {u"code"_s, code}};
    QNetworkReply* reply =
        m_network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this, [reply, completion] {
        reply->deleteLater();
        completion(outcomeOf(*reply));
    });
}

} // namespace velmarto
