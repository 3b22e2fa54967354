#include "core/platform/QuitSignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using namespace velmarto;

class TestQuitSignals : public QObject {
    Q_OBJECT

private slots:
    // Without the handler each of these would end the test process on the spot.
    void aLogoutACtrlCOrAClosedTerminalAsksToQuit_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void aLogoutACtrlCOrAClosedTerminalAsksToQuit() {
        QFETCH(int, signal);
        const QuitSignals quitSignals;
        QSignalSpy requests(&quitSignals, &QuitSignals::quitRequested);
        QCOMPARE(::raise(signal), 0);
        QTRY_COMPARE(requests.size(), 1);
        QCOMPARE(requests.first().first().toInt(), signal);
    }
};

QTEST_GUILESS_MAIN(TestQuitSignals)
#include "tst_quitsignals.moc"
