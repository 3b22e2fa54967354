#include "FakeLoginShell.h"
#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"
#include "support/FakeEngines.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using velmarto::EngineInstaller;
using velmarto::EngineLocator;
using velmarto::EngineSetupProfile;
using velmarto::EngineStatus;
using velmarto::test::FakeEngines;
using velmarto::test::FakeLoginShell;

namespace {

// Fake engines that may be missing, a login shell with fake package managers, and an
// installer that runs the one with the other.
struct Setup {
    FakeEngines engines;
    FakeLoginShell shell;
    EngineStatus status{EngineLocator(engines.profile())};
    std::unique_ptr<EngineInstaller> installer;

    explicit Setup(EngineSetupProfile setup = EngineSetupProfile::macOS()) {
        setup.shell = shell.shell();
        for (const QString& tool : {u"sleep"_s, u"head"_s, u"tr"_s}) {
            shell.linkRealProgram(tool);
        }
        installer = std::make_unique<EngineInstaller>(setup, &status);
    }

    // A Homebrew that runs the body and then "installs" whatever it is asked for by putting
    // working engines in place.
    void installBrew(const QString& body = {}) {
        shell.writeProgram(u"brew"_s, body + u"\n"_s + installCommand());
    }

    QString installCommand() const {
        return u"for name in mscore musicxml2ly lilypond; do printf '#!/bin/sh\\n' > '%1/'$name; "
               u"/bin/chmod +x '%1/'$name; done"_s.arg(engines.binDirectory());
    }

    bool runToTheEnd(int timeout = 30000) {
        QSignalSpy ended(installer.get(), &EngineInstaller::finishedChanged);
        installer->installMissing();
        return installer->finished() || ended.wait(timeout);
    }
};

} // namespace

class TestEngineInstaller : public QObject {
    Q_OBJECT

private slots:
    void startsIdle() {
        Setup setup;
        QCOMPARE(setup.installer->output(), QString());
        QVERIFY(!setup.installer->isRunning());
        QVERIFY(!setup.installer->finished());
        QVERIFY(!setup.installer->success());
        QVERIFY(!setup.installer->brewMissing());
    }

    void nothingMissingPrintsTheBannerAndSucceeds() {
        Setup setup;
        setup.engines.installWorkingEngines();
        setup.installBrew();
        QVERIFY(setup.runToTheEnd());
        QCOMPARE(setup.installer->output(),
                 u"Using Homebrew at "_s + setup.shell.binDirectory() + u"/brew\n\n"_s);
        QVERIFY(!setup.installer->isRunning());
        QVERIFY(setup.installer->success());
        QVERIFY(!setup.installer->brewMissing());
        QVERIFY(setup.shell.calls(u"brew"_s).isEmpty());
    }

    void aRunClearsTheOldStateInOrderThenInstallsAndSucceeds() {
        Setup setup;
        setup.installBrew(u"echo \"brew $*\""_s);
        QVERIFY(setup.runToTheEnd());
        QVERIFY(setup.installer->success());

        QStringList changes;
        for (const auto& [name, signal] :
             std::initializer_list<std::pair<QString, void (EngineInstaller::*)()>>{
                 {u"isRunning"_s, &EngineInstaller::isRunningChanged},
                 {u"finished"_s, &EngineInstaller::finishedChanged},
                 {u"success"_s, &EngineInstaller::successChanged},
                 {u"output"_s, &EngineInstaller::outputChanged}}) {
            connect(setup.installer.get(), signal, this,
                    [&changes, name] { changes.append(name); });
        }
        connect(&setup.status, &EngineStatus::changed, this,
                [&changes] { changes.append(u"engines"_s); });
        QFile::remove(setup.engines.path(u"bin/mscore"_s));
        QVERIFY(setup.runToTheEnd());
        // The clearing comes first, in its order, and the shared status sees what is missing;
        // then the text; the status sees what the run installed (as the files appear, or at the
        // latest when the script ends) before the end shows.
        QCOMPARE(changes.mid(0, 5), (QStringList{u"isRunning"_s, u"finished"_s, u"success"_s,
                                                 u"output"_s, u"engines"_s}));
        QCOMPARE(changes.mid(changes.size() - 3),
                 (QStringList{u"isRunning"_s, u"finished"_s, u"success"_s}));
        QCOMPARE(changes.count(u"engines"_s), 2);
        QVERIFY(changes.lastIndexOf(u"engines"_s) < changes.size() - 3);
        QVERIFY(setup.status.allReady());
        QVERIFY(setup.installer->success());
        QVERIFY(setup.installer->output().contains(u"brew install --cask musescore\n"_s));
        QVERIFY(!setup.installer->output().contains(u"install lilypond"_s));
    }

    void successIsWhatIsOnDiskWhateverTheScriptSays_data() {
        QTest::addColumn<QString>("brew");
        QTest::addColumn<bool>("installs");
        QTest::addColumn<bool>("success");
        QTest::newRow("fails after installing") << u"exit 1"_s << true << true;
        QTest::newRow("succeeds without installing") << u"exit 0"_s << false << false;
    }

    void successIsWhatIsOnDiskWhateverTheScriptSays() {
        QFETCH(QString, brew);
        QFETCH(bool, installs);
        QFETCH(bool, success);
        Setup setup;
        setup.shell.writeProgram(u"brew"_s,
                                 (installs ? setup.installCommand() + u'\n' : QString()) + brew);
        QVERIFY(setup.runToTheEnd());
        QCOMPARE(setup.installer->success(), success);
        QVERIFY(setup.installer->finished());
    }

    void noHomebrewIsReportedWithoutShowingTheMarker() {
        Setup setup;
        QVERIFY(setup.runToTheEnd());
        QVERIFY(setup.installer->brewMissing());
        QVERIFY(setup.installer->finished());
        QVERIFY(!setup.installer->success());
        QVERIFY(!setup.installer->output().contains(u"__NO_BREW__"_s));

        // The next run clears the flag before anything else happens.
        setup.installBrew();
        setup.installer->installMissing();
        QVERIFY(!setup.installer->brewMissing());
        QTRY_VERIFY(setup.installer->finished());
        QVERIFY(!setup.installer->brewMissing());
        QVERIFY(setup.installer->success());
    }

    // The card names what really stands in the way: no package manager at all, or one that
    // cannot be run as root from here, which comes with the command to type instead.
    void theLinuxCardSaysWhatStandsInTheWay_data() {
        QTest::addColumn<QString>("manager");
        QTest::addColumn<QString>("pkexec");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("button");
        QTest::newRow("no package manager")
            << QString() << u"exec \"$@\""_s << u"No supported package manager was found"_s
            << QString() << QString();
        QTest::newRow("apt-get without pkexec")
            << u"apt-get"_s << QString() << u"Administrator rights are needed"_s
            << u"sudo apt-get install --no-install-recommends musescore3 lilypond"_s
            << u"Install in a Terminal…"_s;
        QTest::newRow("dnf without a polkit agent")
            << u"dnf"_s << u"exit 127"_s << u"Administrator rights are needed"_s
            << u"sudo dnf install musescore lilypond"_s << u"Install in a Terminal…"_s;
    }

    void theLinuxCardSaysWhatStandsInTheWay() {
        QFETCH(QString, manager);
        QFETCH(QString, pkexec);
        QFETCH(QString, title);
        QFETCH(QString, command);
        QFETCH(QString, button);
        Setup setup(EngineSetupProfile::freedesktop({}));
        setup.shell.pretendUserId(1000);
        if (!manager.isNull()) {
            setup.shell.writeProgram(manager, QString());
        }
        if (!pkexec.isNull()) {
            setup.shell.writeProgram(u"pkexec"_s, pkexec);
        }
        QVERIFY(setup.runToTheEnd());
        QVERIFY(setup.installer->brewMissing());
        QCOMPARE(setup.installer->bootstrapTitle(), title);
        QCOMPARE(setup.installer->manualCommand(), command);
        QCOMPARE(setup.installer->bootstrapButton(), button);
        QVERIFY(!setup.installer->output().contains(u"__NO_"_s));
    }

    void aSecondCallDuringARunDoesNothing() {
        Setup setup;
        setup.installBrew(u"sleep 1; echo slow"_s);
        setup.installer->installMissing();
        QTRY_VERIFY(setup.installer->output().contains(u"Using Homebrew"_s));
        const QString before = setup.installer->output();
        setup.installer->installMissing();
        QVERIFY(setup.installer->isRunning());
        QCOMPARE(setup.installer->output(), before);
        QTRY_VERIFY_WITH_TIMEOUT(setup.installer->finished(), 20000);
        QCOMPARE(setup.shell.calls(u"brew"_s).size(), 2);
        QCOMPARE(setup.installer->output().count(u"Using Homebrew"_s), 1);
    }

    void markerWordsInsidePrintedTextAreRemovedAlone() {
        Setup setup;
        setup.installBrew(u"echo 'before__DONE__after'"_s);
        QVERIFY(setup.runToTheEnd());
        QVERIFY(setup.installer->output().contains(u"\nbeforeafter\n"_s));
    }

    // The pipe delivers a banner's "…" and a marker in pieces; the log shows neither half.
    void charactersAndMarkersSplitAcrossChunksArriveWhole() {
        Setup setup;
        setup.installBrew(u"printf 'Pouring \\xe2'; sleep 0.3; printf '\\x80\\xa6 done\\n__NO_'; "
                          u"sleep 0.3; printf 'BREW__\\n'; exit 1"_s);
        QStringList shown;
        connect(setup.installer.get(), &EngineInstaller::outputChanged, this,
                [&] { shown.append(setup.installer->output()); });
        QVERIFY(setup.runToTheEnd());
        QVERIFY(setup.installer->output().endsWith(u"Pouring … done\n\n"_s));
        QVERIFY(setup.installer->brewMissing());
        for (const QString& text : std::as_const(shown)) {
            QVERIFY2(!text.contains(u"__NO"_s) && !text.contains(u"BREW__"_s), qPrintable(text));
            QVERIFY2(!text.contains(u'\uFFFD'), qPrintable(text));
        }
    }

    void textIsShownWhileTheScriptStillRuns() {
        Setup setup;
        setup.installBrew(u"printf 'first part'; sleep 2"_s);
        setup.installer->installMissing();
        QTRY_VERIFY(setup.installer->output().endsWith(u"first part"_s));
        QVERIFY(setup.installer->isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(setup.installer->finished(), 20000);
    }

    void theLastWordsAreInTheOutputWhenTheEndIsPublished() {
        Setup setup;
        setup.installBrew(u"printf 'last words, then half a marker __DO'; exit 1"_s);
        QString outputAtTheEnd;
        connect(setup.installer.get(), &EngineInstaller::finishedChanged, this,
                [&] { outputAtTheEnd = setup.installer->output(); });
        QVERIFY(setup.runToTheEnd());
        QVERIFY(outputAtTheEnd.endsWith(u"last words, then half a marker __DO"_s));
    }

    void appendsCarryExactlyTheNewText() {
        Setup setup;
        setup.installBrew(u"for i in 1 2 3; do echo \"line $i\"; sleep 0.1; done"_s);
        QString appended;
        connect(setup.installer.get(), &EngineInstaller::outputAppended, this,
                [&](const QString& text) { appended += text; });
        QVERIFY(setup.runToTheEnd());
        QCOMPARE(appended, setup.installer->output());
    }

    void anInstallerDestroyedMidRunLeavesTheScriptRunning() {
        Setup setup;
        const QString finishedMark = setup.shell.path(u"finished"_s);
        // After the installer is gone the script still prints far more than a pipe holds.
        setup.installBrew(u"echo started; sleep 1; head -c 400000 /dev/zero | tr '\\0' x; "
                          u"echo > '"_s +
                          finishedMark + u"'"_s);
        setup.installer->installMissing();
        QTRY_VERIFY(setup.installer->output().contains(u"started"_s));
        setup.installer.reset();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(finishedMark), 20000);
    }

    void aLaunchFailureIsReportedAndAnotherRunIsAllowedAtOnce() {
        Setup setup;
        EngineSetupProfile profile = EngineSetupProfile::macOS();
        profile.shell = setup.shell.path(u"no-such-shell"_s);
        EngineInstaller installer{profile, &setup.status};
        QSignalSpy finished(&installer, &EngineInstaller::finishedChanged);

        installer.installMissing();
        QTRY_VERIFY(!installer.isRunning());
        QVERIFY(installer.output().startsWith(u"Could not start installer: "_s));
        QVERIFY(installer.output().size() > u"Could not start installer: "_s.size());
        QVERIFY(!installer.finished());
        QVERIFY(!installer.success());

        installer.installMissing();
        QTRY_VERIFY(!installer.isRunning());
        QCOMPARE(installer.output().count(u"Could not start installer: "_s), 1);
        QCOMPARE(finished.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEngineInstaller)
#include "tst_engineinstaller.moc"
