#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTemporaryDir>
#include <QUrl>

namespace velmarto::test {

// An HTTPS server on 127.0.0.1 with a self-signed certificate made for this run by openssl. It
// records every complete request and answers each with the prepared status, or not at all.
class TestHttpsServer : public QObject {
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QByteArray path;
        // Names in lower case.
        QHash<QByteArray, QByteArray> headers;
        QByteArray body;
    };

    // Fails the calling test when openssl or the TLS backend is missing.
    bool start();

    QUrl url(const QString& path) const;
    // Trusts this server's certificate on top of the system's authorities.
    QSslConfiguration trustingClientConfiguration() const;

    void answerWith(int status) {
        m_status = status;
        m_answers = true;
    }
    void neverAnswer() { m_answers = false; }

    QList<Request> requests;

private:
    void serve(QSslSocket* socket);
    void answer(QSslSocket* socket);

    QTemporaryDir m_certificateDirectory;
    QSslServer m_server;
    QSslCertificate m_certificate;
    QHash<QSslSocket*, QByteArray> m_received;
    int m_status = 200;
    bool m_answers = true;
};

} // namespace velmarto::test
