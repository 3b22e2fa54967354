#include "TestHttpsServer.h"
#include "core/accounts/mail/RemoteMailer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

const QString token = u"relay-test-token"_s;

// Resident memory in bytes from /proc/self/status ("VmRSS" now, "VmHWM" at its peak).
qint64 memoryFigure(const QByteArray& name) {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(name + ':'))) {
            return line.mid(name.size() + 1).trimmed().split(' ').first().toLongLong() * 1024;
        }
    }
    return -1;
}

// Starts a new peak at the current resident size; returns that size.
qint64 resetPeakMemory() {
    QFile clearReferences(u"/proc/self/clear_refs"_s);
    if (clearReferences.open(QIODevice::WriteOnly)) {
        clearReferences.write("5");
    }
    return memoryFigure("VmRSS");
}

qint64 peakMemory() {
    return memoryFigure("VmHWM");
}

struct Completions {
    QList<RemoteMailer::Outcome> outcomes;

    RemoteMailer::Completion recorder() {
        return [this](const RemoteMailer::Outcome& outcome) { outcomes.append(outcome); };
    }
};

} // namespace

class TestRemoteMailer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestHttpsServer> m_server;

    std::unique_ptr<RemoteMailer> mailerFor(const QUrl& endpoint) const {
        auto mailer = std::make_unique<RemoteMailer>(Backend{endpoint, token});
        mailer->setSslConfiguration(m_server->trustingClientConfiguration());
        return mailer;
    }

private slots:
    void init() {
        m_server = std::make_unique<test::TestHttpsServer>();
        QVERIFY(m_server->start());
    }

    void requestCarriesHeadersAndCompactBody() {
        Completions completions;
        const auto mailer = mailerFor(m_server->url(u"/send"_s));
        mailer->send(u"004217"_s, u"ann@example.com"_s, completions.recorder());
        QTRY_COMPARE(completions.outcomes.size(), 1);

        QCOMPARE(m_server->requests.size(), 1);
        const test::TestHttpsServer::Request request = m_server->requests.first();
        QCOMPARE(request.method, "POST");
        QCOMPARE(request.path, "/send");
        QCOMPARE(request.headers.value("content-type"), "application/json");
        QCOMPARE(request.headers.value("authorization"), "Bearer " + token.toUtf8());
        QVERIFY(!request.body.contains(' ') && !request.body.contains('\n'));
        const QJsonObject body = QJsonDocument::fromJson(request.body).object();
        QCOMPARE(body, (QJsonObject{{u"email"_s, u"ann@example.com"_s}, {u"code"_s, u"004217"_s}}));
    }

    void onlyTwoHundredsCountAsSent_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QString>("message");
        QTest::newRow("200") << 200 << true << QString();
        QTest::newRow("204") << 204 << true << QString();
        QTest::newRow("302 to the same endpoint") << 302 << false << u"Server returned 302."_s;
        QTest::newRow("400") << 400 << false << u"Server returned 400."_s;
        QTest::newRow("500") << 500 << false << u"Server returned 500."_s;
    }

    void onlyTwoHundredsCountAsSent() {
        QFETCH(int, status);
        QFETCH(bool, sent);
        QFETCH(QString, message);
        m_server->answerWith(status);
        Completions completions;
        const auto mailer = mailerFor(m_server->url(u"/send"_s));
        mailer->send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QTRY_COMPARE(completions.outcomes.size(), 1);
        QCOMPARE(completions.outcomes.first().has_value(), sent);
        if (!sent) {
            QCOMPARE(completions.outcomes.first().error(), message);
        }
        QCOMPARE(m_server->requests.size(), 1);
    }

    void silentServerTimesOut() {
        m_server->neverAnswer();
        Completions completions;
        auto mailer = mailerFor(m_server->url(u"/send"_s));
        mailer->setTimeout(std::chrono::milliseconds(300));
        mailer->send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QTRY_COMPARE(completions.outcomes.size(), 1);
        QVERIFY(!completions.outcomes.first().has_value());
        QVERIFY(!QTest::qWaitFor([&] { return completions.outcomes.size() > 1; }, 500));
    }

    // The old timeout started again with every byte, so one byte every 100 ms kept the code
    // waiting for ever.
    void tricklingReplyFailsAtTheDeadline() {
        m_server->trickleEvery(std::chrono::milliseconds(100));
        Completions completions;
        auto mailer = mailerFor(m_server->url(u"/send"_s));
        mailer->setTimeout(std::chrono::milliseconds(1'000));
        QElapsedTimer elapsed;
        elapsed.start();
        mailer->send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QTRY_COMPARE_WITH_TIMEOUT(completions.outcomes.size(), 1, 10'000);
        QVERIFY(!completions.outcomes.first().has_value());
        // A coarse timer may fire up to 5 % early.
        QVERIFY(elapsed.elapsed() >= 950);
        QVERIFY(m_server->bodyBytesWritten > 5);
    }

    // A 50 MB body used to cost twice that in memory, although the body is never used.
    void hugeReplyIsCutOffAndCountsByItsStatus() {
        constexpr qint64 bodySize = 50LL * 1024 * 1024;
        m_server->answerWithBodyOf(bodySize);
        const qint64 peakBefore = resetPeakMemory();
        Completions completions;
        const auto mailer = mailerFor(m_server->url(u"/send"_s));
        mailer->send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QTRY_COMPARE_WITH_TIMEOUT(completions.outcomes.size(), 1, 30'000);
        QVERIFY(completions.outcomes.first().has_value());
        QVERIFY2(m_server->bodyBytesWritten < bodySize / 4,
                 qPrintable(QString::number(m_server->bodyBytesWritten)));
        const qint64 growth = peakMemory() - peakBefore;
        QVERIFY2(growth < 16LL * 1024 * 1024, qPrintable(QString::number(growth)));
    }

    void closedPortFails() {
        QTcpServer placeholder;
        QVERIFY(placeholder.listen(QHostAddress::LocalHost));
        const quint16 port = placeholder.serverPort();
        placeholder.close();

        Completions completions;
        const auto mailer = mailerFor(QUrl(u"https://127.0.0.1:%1/send"_s.arg(port)));
        mailer->send(u"123456"_s, u"ann@example.com"_s, completions.recorder());
        QTRY_COMPARE(completions.outcomes.size(), 1);
        QVERIFY(!completions.outcomes.first().has_value());
    }

    void untrustedCertificateFailsBeforeAnyRequest() {
        Completions completions;
        RemoteMailer mailer(Backend{m_server->url(u"/send"_s), token});
        mailer.send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QTRY_COMPARE(completions.outcomes.size(), 1);
        QVERIFY(!completions.outcomes.first().has_value());
        QVERIFY(m_server->requests.isEmpty());
    }

    void missingEndpointFailsOnALaterTurn() {
        Completions completions;
        RemoteMailer mailer(Backend{QUrl(), token});
        mailer.send(u"123456"_s, u"ann@example.com"_s, completions.recorder());

        QVERIFY(completions.outcomes.isEmpty());
        QTRY_COMPARE(completions.outcomes.size(), 1);
        QCOMPARE(completions.outcomes.first().error(), u"No backend configured."_s);
    }
};

QTEST_GUILESS_MAIN(TestRemoteMailer)
#include "tst_remotemailer.moc"
