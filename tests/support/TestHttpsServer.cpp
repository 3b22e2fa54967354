#include "TestHttpsServer.h"

#include <QFile>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTest>
#include <QTimer>

namespace velmarto::test {

using namespace Qt::StringLiterals;

namespace {

// Where a request's headers end and its body begins.
const QByteArray headerEnd = QByteArrayLiteral("\r\n\r\n");

std::optional<TestHttpsServer::Request> parseRequest(const QByteArray& received) {
    const qsizetype bodyStart = received.indexOf(headerEnd);
    if (bodyStart < 0) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = received.left(bodyStart).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    if (requestLine.size() != 3) {
        return std::nullopt;
    }
    TestHttpsServer::Request request{requestLine[0], requestLine[1], {}, {}};
    for (qsizetype index = 1; index < lines.size(); ++index) {
        const qsizetype colon = lines[index].indexOf(':');
        request.headers.insert(lines[index].left(colon).trimmed().toLower(),
                               lines[index].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    request.body = received.mid(bodyStart + headerEnd.size());
    if (request.body.size() < length) {
        return std::nullopt;
    }
    return request;
}

} // namespace

// A connection still open (a trickling answer) closes as the server goes, and must not reach
// this object's handlers once its members are gone.
TestHttpsServer::~TestHttpsServer() {
    for (QSslSocket* socket : m_server.findChildren<QSslSocket*>()) {
        socket->disconnect(this);
    }
}

bool TestHttpsServer::start() {
    if (!m_certificateDirectory.isValid() || !QSslSocket::supportsSsl()) {
        qWarning("TLS is not available to the test");
        return false;
    }
    const QString keyFile = m_certificateDirectory.filePath(u"key.pem"_s);
    const QString certificateFile = m_certificateDirectory.filePath(u"certificate.pem"_s);
    QProcess openssl;
    openssl.start(u"openssl"_s, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s,
                                 u"-days"_s, u"1"_s, u"-subj"_s, u"/CN=127.0.0.1"_s, u"-addext"_s,
                                 u"subjectAltName=IP:127.0.0.1"_s, u"-keyout"_s, keyFile, u"-out"_s,
                                 certificateFile});
    if (!openssl.waitForFinished(60'000) || openssl.exitCode() != 0) {
        qWarning("openssl could not make a certificate: %s", openssl.readAllStandardError().data());
        return false;
    }

    QFile key(keyFile);
    QFile certificate(certificateFile);
    if (!key.open(QIODevice::ReadOnly) || !certificate.open(QIODevice::ReadOnly)) {
        return false;
    }
    m_certificate = QSslCertificate(&certificate);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(m_certificate);
    configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server.setSslConfiguration(configuration);

    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (m_server.hasPendingConnections()) {
            serve(static_cast<QSslSocket*>(m_server.nextPendingConnection()));
        }
    });
    return m_server.listen(QHostAddress::LocalHost);
}

QUrl TestHttpsServer::url(const QString& path) const {
    return QUrl(u"https://127.0.0.1:%1%2"_s.arg(m_server.serverPort()).arg(path));
}

QSslConfiguration TestHttpsServer::trustingClientConfiguration() const {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificate(m_certificate);
    return configuration;
}

void TestHttpsServer::serve(QSslSocket* socket) {
    connect(socket, &QSslSocket::readyRead, this, [this, socket] {
        QByteArray& received = m_received[socket];
        received += socket->readAll();
        if (const auto request = parseRequest(received)) {
            requests.append(*request);
            if (m_answers) {
                answer(socket);
            }
        }
    });
    connect(socket, &QSslSocket::encryptedBytesWritten, this,
            [this, socket] { writeMoreBody(socket); });
    connect(socket, &QSslSocket::disconnected, this, [this, socket] {
        m_received.remove(socket);
        m_bodyLeft.remove(socket);
        socket->deleteLater();
    });
}

void TestHttpsServer::answer(QSslSocket* socket) {
    if (m_answer == Answer::largeBody) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(m_bodySize) +
                      "\r\nConnection: close\r\n\r\n");
        m_bodyLeft.insert(socket, m_bodySize);
        writeMoreBody(socket);
        return;
    }
    if (m_answer == Answer::trickle) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n");
        auto* trickle = new QTimer(socket);
        connect(trickle, &QTimer::timeout, socket, [this, socket] {
            socket->write("x");
            ++bodyBytesWritten;
        });
        trickle->start(m_trickleInterval);
        return;
    }
    QByteArray response = "HTTP/1.1 " + QByteArray::number(m_status) + " Test\r\n";
    if (m_status >= 300 && m_status < 400) {
        response += "Location: " + url(u"/send"_s).toEncoded() + "\r\n";
    }
    response += "Content-Length: 0\r\nConnection: close\r\n\r\n";
    socket->write(response);
    socket->disconnectFromHost();
}

// Keeps only a little of the body queued, so the server itself never holds it all in memory.
void TestHttpsServer::writeMoreBody(QSslSocket* socket) {
    constexpr qint64 chunk = 64 * 1024;
    if (!m_bodyLeft.contains(socket)) {
        return;
    }
    qint64& left = m_bodyLeft[socket];
    while (left > 0 && socket->encryptedBytesToWrite() + socket->bytesToWrite() < 4 * chunk) {
        const qint64 size = std::min(left, chunk);
        socket->write(QByteArray(size, 'x'));
        left -= size;
        bodyBytesWritten += size;
    }
    if (left == 0) {
        m_bodyLeft.remove(socket);
        socket->disconnectFromHost();
    }
}

} // namespace velmarto::test
