#include "FakeLoginShell.h"
#include "core/conversion/InstalledEngines.h"
#include "core/setup/InstallScript.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::InstalledEngines;
using velmarto::test::FakeLoginShell;
namespace installscript = velmarto::installscript;

namespace {

const QByteArray homebrewHeader =
    "set -e\n"
    "BREW=\"$(command -v brew || true)\"\n"
    "if [ -z \"$BREW\" ]; then\n"
    "  for c in /opt/homebrew/bin/brew /usr/local/bin/brew; do [ -x \"$c\" ] && BREW=\"$c\"; done\n"
    "fi\n"
    "if [ -z \"$BREW\" ]; then echo \"__NO_BREW__\"; exit 3; fi\n"
    "echo \"Using Homebrew at $BREW\"\n";
const QByteArray lilypondStep =
    "echo '==> Installing LilyPond engraving engine\xE2\x80\xA6'; \"$BREW\" install lilypond expat";
const QByteArray museScoreStep = "echo '==> Installing MuseScore (smart MIDI import)\xE2\x80\xA6'; "
                                 "\"$BREW\" install --cask musescore";
const QByteArray homebrewTrailer = "\necho \"__DONE__\"";

InstalledEngines status(bool museScore, bool musicxml2ly, bool lilypond) {
    return {museScore, musicxml2ly, lilypond};
}

const InstalledEngines nothingMissing = status(true, true, true);
const InstalledEngines everythingMissing = status(false, false, false);

// A Homebrew that records what it was asked to install.
void installFakeBrew(FakeLoginShell& shell, const QString& body = u"echo \"brew $*\""_s) {
    shell.writeProgram(u"brew"_s, body);
}

// A package manager that reports where its standard input comes from and the environment that
// would make apt ask questions.
void installFakeManager(FakeLoginShell& shell, const QString& name) {
    shell.writeProgram(name, u"echo \"%1 $* stdin=$(readlink /proc/self/fd/0) "
                             u"frontend=$DEBIAN_FRONTEND user=$(id -u)\""_s.arg(name));
}

} // namespace

class TestInstallScript : public QObject {
    Q_OBJECT

private slots:
    void theHomebrewScriptIsExactlyTheKnownText_data() {
        QTest::addColumn<InstalledEngines>("found");
        QTest::addColumn<QByteArray>("steps");
        // Every combination of the three flags: musicxml2ly and lilypond share one step.
        for (int bits = 0; bits < 8; ++bits) {
            const InstalledEngines found = status(bits & 1, bits & 2, bits & 4);
            QByteArrayList steps;
            if (!found.musicxml2ly || !found.lilypond) {
                steps.append(lilypondStep);
            }
            if (!found.museScore) {
                steps.append(museScoreStep);
            }
            QTest::addRow("museScore=%d musicxml2ly=%d lilypond=%d", found.museScore,
                          found.musicxml2ly, found.lilypond)
                << found << steps.join('\n');
        }
    }

    void theHomebrewScriptIsExactlyTheKnownText() {
        QFETCH(InstalledEngines, found);
        QFETCH(QByteArray, steps);
        const QByteArray script = installscript::homebrew(found).toUtf8();
        QCOMPARE(script, homebrewHeader + steps + homebrewTrailer);
        QCOMPARE(homebrewHeader.size(), 243);
        QCOMPARE(homebrewTrailer.size(), 16);
    }

    void nothingMissingLeavesOneEmptyLineBeforeTheTrailer() {
        QCOMPARE(installscript::homebrew(nothingMissing).toUtf8(),
                 homebrewHeader + "\necho \"__DONE__\"");
    }

    void theProfileChoosesTheScript() {
        const auto homebrew = velmarto::EngineSetupProfile::macOS();
        const auto distribution = velmarto::EngineSetupProfile::freedesktop({});
        QCOMPARE(installscript::forProfile(homebrew, everythingMissing),
                 installscript::homebrew(everythingMissing));
        QCOMPARE(installscript::forProfile(distribution, everythingMissing),
                 installscript::distribution(everythingMissing));
        QCOMPARE(installscript::missingManagerMarker(homebrew.packageManager), u"__NO_BREW__"_s);
        QCOMPARE(installscript::missingManagerMarker(distribution.packageManager),
                 u"__NO_PACKAGE_MANAGER__"_s);
    }

    void homebrewOnThePathInstallsWhatIsMissingInOrder_data() {
        QTest::addColumn<InstalledEngines>("found");
        QTest::addColumn<QStringList>("installs");
        QTest::newRow("nothing missing") << nothingMissing << QStringList{};
        QTest::newRow("only lilypond")
            << status(true, true, false) << QStringList{u"install lilypond expat"_s};
        QTest::newRow("only musicxml2ly")
            << status(true, false, true) << QStringList{u"install lilypond expat"_s};
        QTest::newRow("MuseScore and lilypond")
            << status(false, true, false)
            << QStringList{u"install lilypond expat"_s, u"install --cask musescore"_s};
    }

    void homebrewOnThePathInstallsWhatIsMissingInOrder() {
        QFETCH(InstalledEngines, found);
        QFETCH(QStringList, installs);
        FakeLoginShell shell;
        installFakeBrew(shell);
        const FakeLoginShell::Run run = shell.run(installscript::homebrew(found));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(shell.calls(u"brew"_s), installs);
        QVERIFY(
            run.output.startsWith(u"Using Homebrew at "_s + shell.binDirectory() + u"/brew\n"_s));
        QVERIFY(run.output.endsWith(u"__DONE__\n"_s));
        if (installs.size() == 2) {
            QVERIFY(run.output.indexOf(u"LilyPond engraving engine…"_s) <
                    run.output.indexOf(u"MuseScore (smart MIDI import)…"_s));
        }
    }

    void noHomebrewAnywherePrintsTheMarkerAndExitsThree() {
        FakeLoginShell shell;
        const FakeLoginShell::Run run = shell.run(installscript::homebrew(everythingMissing));
        if (QFile::exists(u"/opt/homebrew/bin/brew"_s) || QFile::exists(u"/usr/local/bin/brew"_s)) {
            QSKIP("Homebrew is installed on this machine");
        }
        QCOMPARE(run.output, u"__NO_BREW__\n"_s);
        QCOMPARE(run.exitCode, 3);
    }

    void aFailingInstallStopsTheScriptWithItsStatus() {
        FakeLoginShell shell;
        installFakeBrew(shell, u"echo \"Error: lilypond: no bottle\"; exit 7"_s);
        const FakeLoginShell::Run run = shell.run(installscript::homebrew(everythingMissing));
        QCOMPARE(run.exitCode, 7);
        QCOMPARE(shell.calls(u"brew"_s), QStringList{u"install lilypond expat"_s});
        QVERIFY(run.output.contains(u"Error: lilypond: no bottle"_s));
        QVERIFY(!run.output.contains(u"__DONE__"_s));
    }

    // Both fixed locations hold a brew and PATH has none: the later one wins. The locations
    // are outside any test folder, so the script runs in a private mount namespace where they
    // are empty folders of its own.
    void withBrewAtBothLocationsTheSecondWins() {
        FakeLoginShell shell;
        const QString wrapper = u"mount -t tmpfs none /opt && mount -t tmpfs none /usr/local/bin"
                                u" && mkdir -p /opt/homebrew/bin"
                                u" && printf '#!/bin/sh\\necho opt\\n' > /opt/homebrew/bin/brew"
                                u" && printf '#!/bin/sh\\necho local\\n' > /usr/local/bin/brew"
                                u" && chmod +x /opt/homebrew/bin/brew /usr/local/bin/brew"
                                u" && exec \"$0\" -lc \"$1\""_s;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(u"unshare"_s,
                      {u"--mount"_s, u"--propagation"_s, u"private"_s, u"/bin/sh"_s, u"-c"_s,
                       wrapper, shell.shell(), installscript::homebrew(status(true, true, false))});
        QVERIFY(process.waitForFinished(30000));
        const QString output = QString::fromUtf8(process.readAll());
        if (process.exitCode() != 0 && !output.contains(u"Using Homebrew"_s)) {
            QSKIP(qPrintable(u"no private mount namespace here: "_s + output));
        }
        QCOMPARE(output, u"Using Homebrew at /usr/local/bin/brew\n"
                         u"==> Installing LilyPond engraving engine…\nlocal\n__DONE__\n"_s);
    }

    void eachDistributionGetsItsOwnPackages_data() {
        QTest::addColumn<QString>("manager");
        QTest::addColumn<QStringList>("installs");
        const QString apt = u"apt-get install -y --no-install-recommends "
                            u"-o Dpkg::Options::=--force-confdef "
                            u"-o Dpkg::Options::=--force-confold -o Dpkg::Use-Pty=0 "_s;
        QTest::newRow("apt-get") << u"apt-get"_s
                                 << QStringList{apt + u"lilypond"_s, apt + u"musescore3"_s};
        QTest::newRow("dnf") << u"dnf"_s
                             << QStringList{u"dnf install -y lilypond"_s,
                                            u"dnf install -y musescore"_s};
        QTest::newRow("zypper") << u"zypper"_s
                                << QStringList{u"zypper --non-interactive install lilypond"_s,
                                               u"zypper --non-interactive install musescore"_s};
        QTest::newRow("pacman") << u"pacman"_s
                                << QStringList{u"pacman -S --needed --noconfirm lilypond"_s,
                                               u"pacman -S --needed --noconfirm musescore"_s};
    }

    void eachDistributionGetsItsOwnPackages() {
        QFETCH(QString, manager);
        QFETCH(QStringList, installs);
        FakeLoginShell shell;
        shell.pretendUserId(0);
        shell.linkRealProgram(u"readlink"_s);
        installFakeManager(shell, manager);
        const FakeLoginShell::Run run = shell.run(installscript::distribution(everythingMissing));
        QCOMPARE(run.exitCode, 0);
        QStringList commands;
        for (const QString& call : shell.calls(manager)) {
            commands.append(manager + u' ' + call);
        }
        QCOMPARE(commands, installs);
        // Nothing can stop to ask: no terminal to read from, and debconf told so.
        QCOMPARE(run.output.count(u"stdin=/dev/null frontend=noninteractive user=0"_s), 2);
        QVERIFY(run.output.startsWith(u"Using "_s + manager + u'\n'));
        QVERIFY(run.output.endsWith(u"__DONE__\n"_s));
        QVERIFY(run.output.indexOf(u"LilyPond engraving engine…"_s) <
                run.output.indexOf(u"MuseScore (smart MIDI import)…"_s));
    }

    void nothingMissingRunsNoPackageManagerAndAsksForNothing() {
        for (const int user : {0, 1000}) {
            FakeLoginShell shell;
            shell.pretendUserId(user);
            installFakeManager(shell, u"apt-get"_s);
            shell.writeProgram(u"pkexec"_s, u"exec \"$@\""_s);
            const FakeLoginShell::Run run = shell.run(installscript::distribution(nothingMissing));
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.output, u"Using apt-get\n__DONE__\n"_s);
            QVERIFY(shell.calls(u"apt-get"_s).isEmpty());
            QVERIFY(shell.calls(u"pkexec"_s).isEmpty());
        }
    }

    void withoutRootTheWholeScriptRunsOnceThroughPkexec() {
        FakeLoginShell shell;
        shell.pretendUserId(1000);
        installFakeManager(shell, u"apt-get"_s);
        shell.linkRealProgram(u"readlink"_s);
        // The fake grants root by putting an `id` that answers 0 first on the PATH.
        QDir().mkpath(shell.path(u"root"_s));
        shell.pretendUserId(0, shell.path(u"root"_s));
        shell.writeProgram(u"pkexec"_s,
                           u"shift; PATH="_s + shell.path(u"root"_s) + u":$PATH exec \"$@\""_s);
        const FakeLoginShell::Run run = shell.run(installscript::distribution(everythingMissing));
        QCOMPARE(run.exitCode, 0);
        const QStringList elevations = shell.calls(u"pkexec"_s);
        QCOMPARE(elevations.size(), 1);
        // Never pkexec's own prompt, which would ask on the terminal the app was started from.
        QVERIFY(
            elevations.first().startsWith(u"--disable-internal-agent /bin/bash -c set -e\\n"_s));
        QCOMPARE(shell.calls(u"apt-get"_s).size(), 2);
        QCOMPARE(run.output.count(u"user=0"_s), 2);
        QVERIFY(run.output.startsWith(u"Asking for permission to install with apt-get…\n"_s));
        QVERIFY(run.output.endsWith(u"__DONE__\n"_s));
    }

    void refusedOrImpossibleElevationShowsTheCommandAndPrintsTheMarker_data() {
        QTest::addColumn<QString>("pkexec");
        QTest::addColumn<QString>("reason");
        QTest::newRow("prompt dismissed")
            << u"exit 126"_s << u"Permission to install was not given."_s;
        QTest::newRow("no authentication agent")
            << u"echo 'No authentication agent found.'; exit 127"_s
            << u"needs administrator rights, and no password prompt could be shown"_s;
        QTest::newRow("no pkexec") << QString() << u"needs administrator rights, and pkexec"_s;
    }

    void refusedOrImpossibleElevationShowsTheCommandAndPrintsTheMarker() {
        QFETCH(QString, pkexec);
        QFETCH(QString, reason);
        FakeLoginShell shell;
        shell.pretendUserId(1000);
        installFakeManager(shell, u"apt-get"_s);
        if (!pkexec.isNull()) {
            shell.writeProgram(u"pkexec"_s, pkexec);
        }
        const FakeLoginShell::Run run = shell.run(installscript::distribution(everythingMissing));
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.output.contains(reason), qPrintable(run.output));
        QVERIFY(run.output.endsWith(
            u"run this in a terminal:\n"
            u"  sudo apt-get install --no-install-recommends musescore3 lilypond\n"
            u"__NO_ADMIN_RIGHTS__\n"_s));
        QVERIFY(shell.calls(u"apt-get"_s).isEmpty());
    }

    void noKnownPackageManagerPrintsTheMarkerWithoutAskingForRoot() {
        FakeLoginShell shell;
        shell.pretendUserId(1000);
        shell.writeProgram(u"pkexec"_s, u"exec \"$@\""_s);
        const FakeLoginShell::Run run = shell.run(installscript::distribution(everythingMissing));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, u"No supported package manager was found (apt-get, dnf, zypper or "
                             u"pacman).\n__NO_PACKAGE_MANAGER__\n"_s);
        QVERIFY(shell.calls(u"pkexec"_s).isEmpty());
    }

    void aptRefreshesStaleListsOnceAndInstallsAgain() {
        FakeLoginShell shell;
        shell.pretendUserId(0);
        shell.writeProgram(u"apt-get"_s,
                           u"case \"$1\" in\n"
                           u"  update) : > \"$0.updated\" ;;\n"
                           u"  install) [ -e \"$0.updated\" ] || { echo 'E: Unable to locate "
                           u"package lilypond'; exit 100; } ;;\n"
                           u"esac"_s);
        const FakeLoginShell::Run run =
            shell.run(installscript::distribution(status(true, true, false)));
        QCOMPARE(run.exitCode, 0);
        const QStringList calls = shell.calls(u"apt-get"_s);
        QCOMPARE(calls.size(), 3);
        QVERIFY(calls[0].startsWith(u"install "_s));
        QCOMPARE(calls[1], u"update"_s);
        QVERIFY(calls[2].startsWith(u"install "_s));
        QVERIFY(run.output.endsWith(u"__DONE__\n"_s));
    }

    void aFailingManagerStopsTheScript() {
        FakeLoginShell shell;
        shell.pretendUserId(0);
        shell.writeProgram(u"dnf"_s, u"echo 'Error: Unable to find a match: musescore'; exit 1"_s);
        const FakeLoginShell::Run run =
            shell.run(installscript::distribution(status(false, true, true)));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.output.contains(u"Error: Unable to find a match: musescore"_s));
        QVERIFY(!run.output.contains(u"__DONE__"_s));
    }
};

QTEST_GUILESS_MAIN(TestInstallScript)
#include "tst_installscript.moc"
