#include "FakeProgram.h"
#include "FakeSecretStore.h"
#include "TestHttpsServer.h"
#include "core/accounts/Session.h"
#include "core/accounts/mail/MailDelivery.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace velmarto;

Q_DECLARE_METATYPE(velmarto::DeliveryResult)

class TestMailDelivery : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;
    test::TestHttpsServer m_server;
    std::unique_ptr<test::FakeProgram> m_osascript;

    std::unique_ptr<MailDelivery> deliveryThrough(const QUrl& endpoint) const {
        auto relay = std::make_unique<RemoteMailer>(Backend{endpoint, u"token"_s});
        relay->setSslConfiguration(m_server.trustingClientConfiguration());
        MailProfile mail = MailProfile::macOS();
        mail.program = m_osascript->path();
        return std::make_unique<MailDelivery>(std::move(relay), EmailSender(mail));
    }

private slots:
    void initTestCase() { QVERIFY(m_server.start()); }

    void init() {
        QFile::remove(m_directory.filePath(u"osascript.runs"_s));
        m_osascript = std::make_unique<test::FakeProgram>(m_directory.path(), u"osascript"_s);
        m_osascript->prepareReply(0, "true\n");
    }

    void configuredRelayIsTheOnlyWay_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<DeliveryResult>("result");
        QTest::newRow("relay accepts") << 200 << DeliveryResult::sent;
        QTest::newRow("relay refuses") << 500 << DeliveryResult::relayFailed;
    }

    void configuredRelayIsTheOnlyWay() {
        QFETCH(int, status);
        QFETCH(DeliveryResult, result);
        m_server.answerWith(status);
        QList<DeliveryResult> results;
        const auto delivery = deliveryThrough(m_server.url(u"/send"_s));
        delivery->deliver(u"123456"_s, u"ann@example.com"_s,
                          [&results](DeliveryResult delivered) { results.append(delivered); });

        QTRY_COMPARE(results, QList<DeliveryResult>{result});
        QCOMPARE(m_osascript->runCount(), 0);
    }

    void withoutRelayMailRunsOnALaterTurn() {
        m_osascript->prepareReply(1, {}, "execution error: no-account (7777)\n");
        QList<DeliveryResult> results;
        const auto delivery = deliveryThrough(QUrl());
        delivery->deliver(u"123456"_s, u"ann@example.com"_s,
                          [&results](DeliveryResult delivered) { results.append(delivered); });

        QCOMPARE(m_osascript->runCount(), 0);
        QTRY_COMPARE(results, QList<DeliveryResult>{DeliveryResult::mailNoAccount});
        QCOMPARE(m_osascript->runCount(), 1);
    }

    // The mail program used to run on the thread that paints the window, which froze for as long
    // as the program ran.
    void eventsKeepFlowingWhileTheMailProgramRuns() {
        m_osascript->prepareDelay(2);
        QList<DeliveryResult> results;
        const auto delivery = deliveryThrough(QUrl());
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(50);
        delivery->deliver(u"123456"_s, u"ann@example.com"_s,
                          [&results](DeliveryResult delivered) { results.append(delivered); });

        QTRY_COMPARE(m_osascript->runCount(), 1);
        const int ticksAtStart = ticks;
        QTRY_VERIFY(ticks >= ticksAtStart + 10);
        QVERIFY(results.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(results, QList<DeliveryResult>{DeliveryResult::sent}, 10'000);
    }

    void sessionShowsTheCodeWhenTheRelayRefuses() {
        m_server.answerWith(500);
        const PreferenceStore preferences(m_directory.filePath(u"preferences.ini"_s));
        std::shared_ptr<MailDelivery> delivery = deliveryThrough(m_server.url(u"/send"_s));
        Session session(SessionDependencies{
            .accounts = AccountStore(std::make_shared<test::FakeSecretStore>(), preferences),
            .preferences = preferences,
            .delivery = delivery,
            .mail = MailProfile::macOS(),
            .clock = [] { return QDateTime::currentDateTimeUtc(); },
            .codeGenerator = [] { return 314159U; },
        });

        QVERIFY(session.beginSignUp(u"ann@example.com"_s, u"secret"_s));
        QTRY_VERIFY(!session.isSendingCode());
        QCOMPARE(session.fallbackCode(), u"314159"_s);
        QCOMPARE(session.deliveryNote(),
                 u"Couldn't reach the mail server just now. Use the code below to continue."_s);
        QVERIFY(session.verify(session.fallbackCode()));
    }
};

QTEST_GUILESS_MAIN(TestMailDelivery)
#include "tst_maildelivery.moc"
