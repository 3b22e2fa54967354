#pragma once

#include "core/accounts/mail/Backend.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QSslConfiguration>

#include <chrono>
#include <expected>
#include <functional>

namespace velmarto {

// Asks the relay to mail one code: a single HTTPS POST with the address and the code. Only the
// transport error and the HTTP status count; the relay composes the mail itself.
class RemoteMailer : public QObject {
    Q_OBJECT

public:
    // Sent, or failed with a message for diagnostics (the user is never shown it).
    using Outcome = std::expected<void, QString>;
    using Completion = std::function<void(const Outcome&)>;

    // For the whole exchange, however the relay spreads its reply over time.
    static constexpr std::chrono::milliseconds defaultTimeout{20'000};
    // The reply's body is never used; past this many bytes the reply is cut off and only its
    // status counts.
    static constexpr qint64 replyBodyLimit = qint64{64} * 1024;

    explicit RemoteMailer(Backend backend, QObject* parent = nullptr);

    bool isConfigured() const { return m_backend.isConfigured(); }

    void setTimeout(std::chrono::milliseconds timeout);
    // The certificates to trust and other TLS settings; peer verification stays on whatever is
    // given, so a test trusts its own certificate by adding it here.
    void setSslConfiguration(const QSslConfiguration& configuration);

    // Returns at once; completion runs on this object's thread, exactly once unless this object
    // is destroyed first.
    void send(const QString& code, const QString& email, const Completion& completion);

private:
    Backend m_backend;
    QNetworkAccessManager m_network;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QSslConfiguration m_sslConfiguration = QSslConfiguration::defaultConfiguration();
};

} // namespace velmarto
