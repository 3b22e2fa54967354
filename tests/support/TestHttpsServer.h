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

#include <chrono>

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

    ~TestHttpsServer() override;

    // Fails the calling test when openssl or the TLS backend is missing.
    bool start();

    QUrl url(const QString& path) const;
    // Trusts this server's certificate on top of the system's authorities.
    QSslConfiguration trustingClientConfiguration() const;

    void answerWith(int status) {
        m_status = status;
        m_answers = true;
        m_answer = Answer::empty;
    }
    void neverAnswer() { m_answers = false; }
    // Answers 200 with a body of this many bytes, written only as fast as the client reads it.
    void answerWithBodyOf(qint64 size) {
        answerWith(200);
        m_answer = Answer::largeBody;
        m_bodySize = size;
    }
    // Answers 200 and then one byte of the body every interval, never finishing.
    void trickleEvery(std::chrono::milliseconds interval) {
        answerWith(200);
        m_answer = Answer::trickle;
        m_trickleInterval = interval;
    }

    QList<Request> requests;
    qint64 bodyBytesWritten = 0;

private:
    void serve(QSslSocket* socket);
    void answer(QSslSocket* socket);
    void writeMoreBody(QSslSocket* socket);

    enum class Answer { empty, largeBody, trickle };

    QTemporaryDir m_certificateDirectory;
    QSslServer m_server;
    QSslCertificate m_certificate;
    QHash<QSslSocket*, QByteArray> m_received;
    QHash<QSslSocket*, qint64> m_bodyLeft;
    int m_status = 200;
    bool m_answers = true;
    Answer m_answer = Answer::empty;
    qint64 m_bodySize = 0;
    std::chrono::milliseconds m_trickleInterval{0};
};

} // namespace velmarto::test
