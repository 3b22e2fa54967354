#include "core/conversion/EngineRunner.h"
#include "support/FakeEngines.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <chrono>
#include <signal.h>
#include <thread>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestEngineRunner : public QObject {
    Q_OBJECT

private:
    test::FakeEngines engines;

    QString script(const QString& body) { return engines.writeScript(u"bin/engine"_s, body); }

    EngineRunner runnerWith(const QProcessEnvironment& environment) const {
        return EngineRunner(environment, u"/fallback/tmp"_s);
    }

    static QProcessEnvironment
    environmentOf(std::initializer_list<std::pair<QString, QString>> entries) {
        QProcessEnvironment environment;
        for (const auto& [name, value] : entries) {
            environment.insert(name, value);
        }
        return environment;
    }

    // Whether the process whose id the engine wrote to the file still exists.
    bool helperIsAlive(const QString& pidFile) const {
        QFile file(pidFile);
        if (!file.open(QIODevice::ReadOnly)) {
            qFatal("the engine wrote no pid file");
        }
        const pid_t pid = file.readAll().trimmed().toInt();
        return pid > 0 && ::kill(pid, 0) == 0;
    }

private slots:
    void transcriptOfACleanRun() {
        const QString engine = script(u"echo ok"_s);
        const auto transcript =
            runnerWith(QProcessEnvironment::systemEnvironment())
                .run({.executable = engine,
                      .arguments = {u"-o"_s, u"/T/w/song"_s, u"/T/w/my song.ly"_s},
                      .stage = u"LilyPond engraving"_s});
        QVERIFY(transcript.has_value());
        QCOMPARE(*transcript, u"$ "_s + engine + u" -o /T/w/song /T/w/my song.ly\nok\n\n"_s);
    }

    void nonZeroExitTolerated() {
        const QString engine = script(u"printf partial; exit 3"_s);
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = engine,
                                          .arguments = {u"a"_s},
                                          .stage = u"MuseScore import"_s,
                                          .failOnNonZeroExit = false});
        QVERIFY(transcript.has_value());
        QCOMPARE(*transcript, u"$ "_s + engine + u" a\npartial\n(exit status 3)\n"_s);
    }

    void nonZeroExitIsAnErrorWithTheOutputButNoCommandLine() {
        const QString engine = script(u"echo bad; exit 1"_s);
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = engine, .stage = u"musicxml2ly"_s});
        QVERIFY(!transcript.has_value());
        QCOMPARE(transcript.error().stage(), u"musicxml2ly"_s);
        QCOMPARE(transcript.error().detail(), u"Exit code 1\n\nbad\n"_s);
    }

    void aChildKilledBySignalNeverReadsAsSuccess() {
        const QString engine = script(u"echo dying; kill -9 $$"_s);
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = engine, .stage = u"musicxml2ly"_s});
        QVERIFY(!transcript.has_value());
        QCOMPARE(transcript.error().detail(), u"Exit code 137\n\ndying\n"_s);
    }

    void standardErrorAndOutputShareOneStream() {
        const QString engine = script(u"echo one; echo two >&2; echo three"_s);
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = engine, .stage = u"s"_s});
        QVERIFY(transcript.has_value());
        QVERIFY(transcript->endsWith(u"\none\ntwo\nthree\n\n"_s));

        const auto stderrOnly =
            runnerWith(QProcessEnvironment::systemEnvironment())
                .run({.executable = script(u"echo only-stderr >&2"_s), .stage = u"s"_s});
        QVERIFY(stderrOnly->contains(u"only-stderr"_s));
    }

    void outputThatIsNotUtf8IsKeptWithReplacementCharacters() {
        const QString engine = script(u"printf 'caf\\351 ok'"_s);
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = engine, .stage = u"s"_s});
        QVERIFY(transcript.has_value());
        QVERIFY2(transcript->contains(u"caf\uFFFD ok"_s), qPrintable(*transcript));
    }

    void severalMebibytesOfOutputDoNotDeadlock() {
        const QString engine = script(u"head -c 6000000 /dev/zero | tr '\\0' 'x'; echo; exit 2"_s);
        const auto transcript =
            runnerWith(QProcessEnvironment::systemEnvironment())
                .run({.executable = engine, .stage = u"s"_s, .failOnNonZeroExit = false});
        QVERIFY(transcript.has_value());
        QVERIFY(transcript->contains(QString(6000000, u'x') + u'\n'));
    }

    void launchFailuresNameTheExecutable_data() {
        QTest::addColumn<QString>("executable");
        QTest::newRow("missing") << engines.path(u"bin/nothing"_s);
        QTest::newRow("directory") << engines.binDirectory();
        QTest::newRow("not executable") << engines.writeFile(u"bin/plain"_s, "#!/bin/sh\n");
    }

    void launchFailuresNameTheExecutable() {
        QFETCH(QString, executable);
        const auto transcript =
            runnerWith(QProcessEnvironment::systemEnvironment())
                .run({.executable = executable, .stage = u"MuseScore import"_s});
        QVERIFY(!transcript.has_value());
        QCOMPARE(transcript.error().stage(), u"MuseScore import"_s);
        QVERIFY2(
            transcript.error().detail().startsWith(u"Could not launch "_s + executable + u": "_s),
            qPrintable(transcript.error().detail()));
        QVERIFY(transcript.error().detail().size() >
                QString(u"Could not launch : "_s + executable).size());
    }

    void pathGetsTheExtraDirectoriesFirst() {
        const auto environment =
            runnerWith(environmentOf({{u"PATH"_s, u"/home/u/bin:/usr/bin"_s}}))
                .environmentFor({.extraPath = {u"/opt/homebrew/bin"_s, u"/usr/local/bin"_s}});
        QCOMPARE(environment.value(u"PATH"_s),
                 u"/opt/homebrew/bin:/usr/local/bin:/home/u/bin:/usr/bin"_s);
    }

    void pathDefaultsWhenTheApplicationHasNone() {
        const EngineRunner runner = runnerWith(QProcessEnvironment());
        QCOMPARE(runner.environmentFor({}).value(u"PATH"_s), u"/usr/bin:/bin"_s);
        QCOMPARE(runner.environmentFor({.extraPath = {u"/x"_s}}).value(u"PATH"_s),
                 u"/x:/usr/bin:/bin"_s);
    }

    void temporaryDirectoryIsInheritedOrSupplied() {
        QCOMPARE(runnerWith(environmentOf({{u"TMPDIR"_s, u"/mine"_s}}))
                     .environmentFor({})
                     .value(u"TMPDIR"_s),
                 u"/mine"_s);
        QCOMPARE(runnerWith(QProcessEnvironment()).environmentFor({}).value(u"TMPDIR"_s),
                 u"/fallback/tmp"_s);
    }

    void extraEntriesWin() {
        const auto environment =
            runnerWith(environmentOf({{u"PATH"_s, u"/usr/bin"_s},
                                      {u"TMPDIR"_s, u"/mine"_s},
                                      {u"HOME"_s, u"/home/u"_s}}))
                .environmentFor({.extraPath = {u"/x"_s},
                                 .extraEnvironment = {{u"PATH"_s, u"/only"_s},
                                                      {u"TMPDIR"_s, u"/theirs"_s},
                                                      {u"DYLD_LIBRARY_PATH"_s, u"/lib"_s}}});
        QCOMPARE(environment.value(u"PATH"_s), u"/only"_s);
        QCOMPARE(environment.value(u"TMPDIR"_s), u"/theirs"_s);
        QCOMPARE(environment.value(u"DYLD_LIBRARY_PATH"_s), u"/lib"_s);
        QCOMPARE(environment.value(u"HOME"_s), u"/home/u"_s);
    }

    void theChildReallyReceivesTheEnvironmentAndSeparateArguments() {
        const QString engine =
            script(u"printf '%s|' \"$PATH\" \"$TMPDIR\" \"$EXTRA\" \"$#\" \"$1\""_s);
        const auto transcript = runnerWith(environmentOf({{u"PATH"_s, u"/usr/bin:/bin"_s}}))
                                    .run({.executable = engine,
                                          .arguments = {u"two words; $(no shell)"_s, u"b"_s},
                                          .stage = u"s"_s,
                                          .extraPath = {u"/x"_s},
                                          .extraEnvironment = {{u"EXTRA"_s, u"yes"_s}}});
        QVERIFY(transcript.has_value());
        QVERIFY2(transcript->contains(
                     u"\n/x:/usr/bin:/bin|/fallback/tmp|yes|2|two words; $(no shell)|\n"_s),
                 qPrintable(*transcript));
    }

    void anEngineThatRunsTooLongIsStoppedWithWhatItWrote() {
        using namespace std::chrono_literals;
        // A chatty engine too: the clock is looked at between reads as well.
        for (const QString& body :
             {u"echo started; exec sleep 30"_s, u"echo started; while :; do echo tick; done"_s}) {
            QElapsedTimer clock;
            clock.start();
            const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                        .run({.executable = script(body),
                                              .stage = u"MuseScore import"_s,
                                              .failOnNonZeroExit = false,
                                              .timeout = 300ms});
            QVERIFY(clock.elapsed() < 5000);
            QVERIFY(!transcript.has_value());
            QCOMPARE(transcript.error().reason(), EngineFailure::Reason::timedOut);
            QCOMPARE(transcript.error().stage(), u"MuseScore import"_s);
            QVERIFY(transcript.error().transcript().startsWith(u"$ "_s));
            QVERIFY(transcript.error().transcript().contains(u"\nstarted\n"_s));
            QCOMPARE(transcript.error().detail(),
                     u"The engine did not finish within 0.3 seconds and was stopped.\n\n"_s +
                         transcript.error().transcript());
        }
    }

    void everyProcessTheEngineStartedDiesWithIt_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("finishes");
        // The engine's helper keeps running after the engine itself ends normally...
        QTest::newRow("finished") << u"sleep 30 & echo $! > \"$1\"; echo done"_s << true;
        // ...or the engine hangs and is stopped.
        QTest::newRow("timed out") << u"sleep 30 & echo $! > \"$1\"; sleep 30"_s << false;
    }

    void everyProcessTheEngineStartedDiesWithIt() {
        using namespace std::chrono_literals;
        QFETCH(QString, body);
        QFETCH(bool, finishes);
        const QString pidFile = engines.path(u"helper.pid"_s);
        QElapsedTimer clock;
        clock.start();
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = script(body),
                                          .arguments = {pidFile},
                                          .stage = u"s"_s,
                                          .timeout = 1s});
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(transcript.has_value(), finishes);
        QTRY_VERIFY(!helperIsAlive(pidFile));
    }

    void aCancelledRunStopsAtOnce() {
        CancellationToken cancellation;
        std::thread canceller([&cancellation] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            cancellation.cancel();
        });
        QElapsedTimer clock;
        clock.start();
        const auto transcript = runnerWith(QProcessEnvironment::systemEnvironment())
                                    .run({.executable = script(u"echo busy; exec sleep 30"_s),
                                          .stage = u"LilyPond engraving"_s,
                                          .cancellation = &cancellation});
        canceller.join();
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(!transcript.has_value());
        QCOMPARE(transcript.error().reason(), EngineFailure::Reason::cancelled);
        QVERIFY(transcript.error().transcript().contains(u"\nbusy\n"_s));
    }
};

QTEST_GUILESS_MAIN(TestEngineRunner)
#include "tst_enginerunner.moc"
