#include "FakeProgram.h"
#include "core/setup/PackageManagerBootstrap.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::EngineSetupProfile;
using velmarto::TerminalLauncher;
using velmarto::test::FakeProgram;
namespace bootstrap = velmarto::bootstrap;

namespace {

void writeProgram(const QString& path, const QByteArray& body) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write a fake program");
    }
    file.write("#!/bin/bash\n" + body);
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A terminal emulator that writes its arguments, NUL-separated, to ARGV beside itself. The
// record appears whole, by a rename, so a test that sees the file never reads half of it
// (PATH holds only the fakes, hence /bin/mv).
QString writeFakeTerminal(const QString& folder, const QString& name) {
    const QString path = folder + u'/' + name;
    writeProgram(path,
                 QStringLiteral("for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%1.part'\n"
                                "/bin/mv '%1.part' '%1.argv'\n")
                     .arg(path)
                     .toUtf8());
    return path;
}

QStringList recordedArguments(const QString& terminal) {
    QFile file(terminal + u".argv"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList arguments;
    const QList<QByteArray> parts = file.readAll().split('\0');
    for (qsizetype index = 0; index + 1 < parts.size(); ++index) {
        arguments.append(QString::fromUtf8(parts[index]));
    }
    return arguments;
}

} // namespace

class TestPackageManagerBootstrap : public QObject {
    Q_OBJECT

private slots:
    void theTerminalAppleScriptIsExactlyTheKnownText() {
        const QByteArray script = bootstrap::terminalAppleScript().toUtf8();
        QCOMPARE(script,
                 "tell application \"Terminal\"\n"
                 "activate\n"
                 "do script \"/bin/bash -c \\\"$(curl -fsSL "
                 "https://raw.githubusercontent.com/Homebrew/install/HEAD/install.sh)\\\"\"\n"
                 "end tell");
        QCOMPARE(script.first(48), "tell application \"Terminal\"\nactivate\ndo script \"");
        QVERIFY(script.endsWith("\"\nend tell"));
        QCOMPARE(bootstrap::homebrewInstallCommand().count(u'"'), 2);
        QVERIFY(!bootstrap::homebrewInstallCommand().contains(u'\\'));
    }

    void macOSHandsTheScriptToOsascriptOnStandardInputEachTime() {
        QTemporaryDir folder;
        const FakeProgram osascript(folder.path(), u"osascript"_s);
        EngineSetupProfile profile = EngineSetupProfile::macOS();
        profile.scriptRunner = osascript.path();

        bootstrap::start(profile, u"ignored"_s);
        QTRY_COMPARE(osascript.runCount(), 1);
        bootstrap::start(profile, u"ignored"_s);
        QTRY_COMPARE(osascript.runCount(), 2);
        QTRY_COMPARE(osascript.lastStandardInput(), bootstrap::terminalAppleScript().toUtf8());
        QCOMPARE(osascript.lastArguments(), QStringList());
    }

    void terminalsAreTriedInTheUsualOrder() {
        QProcessEnvironment environment;
        const QList<TerminalLauncher> common{
            {u"x-terminal-emulator"_s, {u"-e"_s}},
            {u"gnome-terminal"_s, {u"--"_s}},
            {u"konsole"_s, {u"-e"_s}},
            {u"xfce4-terminal"_s, {u"-x"_s}},
            {u"xterm"_s, {u"-e"_s}},
        };
        QCOMPARE(EngineSetupProfile::freedesktop(environment).terminals, common);
        environment.insert(u"TERMINAL"_s, u"kitty"_s);
        QCOMPARE(EngineSetupProfile::freedesktop(environment).terminals,
                 (QList<TerminalLauncher>{{u"kitty"_s, {u"-e"_s}}} + common));
    }

    // Only what is on PATH counts: the first terminal and the first of sudo, pkexec and su that
    // are found run the install script as root, and an empty PATH is said, not ignored.
    void theTerminalAndTheWayToRootAreTheFirstFoundOnPath_data() {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("terminal");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("elevation");
        QTest::addColumn<QString>("problem");
        QTest::newRow("xterm and sudo") << QStringList{u"xterm"_s, u"sudo"_s} << u"xterm"_s
                                        << u"-e"_s << u"sudo"_s << QString();
        QTest::newRow("gnome-terminal and pkexec")
            << QStringList{u"gnome-terminal"_s, u"pkexec"_s} << u"gnome-terminal"_s << u"--"_s
            << u"pkexec"_s << QString();
        QTest::newRow("konsole and su") << QStringList{u"konsole"_s, u"su"_s} << u"konsole"_s
                                        << u"-e"_s << u"su"_s << QString();
        QTest::newRow("the first of each")
            << QStringList{u"xterm"_s, u"x-terminal-emulator"_s, u"su"_s, u"sudo"_s}
            << u"x-terminal-emulator"_s << u"-e"_s << u"sudo"_s << QString();
        QTest::newRow("no terminal") << QStringList{u"sudo"_s} << QString() << QString()
                                     << QString() << u"No terminal program was found"_s;
        QTest::newRow("no way to root") << QStringList{u"xterm"_s} << QString() << QString()
                                        << QString() << u"Neither sudo, pkexec nor su"_s;
    }

    void theTerminalAndTheWayToRootAreTheFirstFoundOnPath() {
        QFETCH(QStringList, programs);
        QFETCH(QString, terminal);
        QFETCH(QString, separator);
        QFETCH(QString, elevation);
        QFETCH(QString, problem);
        QTemporaryDir folder;
        // Each way to root runs what it is given as root would, after saying who it is.
        const QHash<QString, QByteArray> elevationTools{
            {u"sudo"_s, "echo sudo; exec \"$@\"\n"},
            {u"pkexec"_s, "echo pkexec; exec \"$@\"\n"},
            {u"su"_s, "echo su; [ \"$1 $3 $4\" = '-c -- root' ] || exit 9\n"
                      "command=$2; shift 4; exec /bin/bash -c \"$command\" \"$@\"\n"},
        };
        for (const QString& program : programs) {
            if (elevationTools.contains(program)) {
                writeProgram(folder.filePath(program), elevationTools[program]);
            } else {
                writeFakeTerminal(folder.path(), program);
            }
        }
        const QString marker = folder.filePath(u"ran as root"_s);
        const QString installScript = u"echo \"it's \\\"quoted\\\" $HOME\" > '"_s + marker + u"'"_s;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toUtf8());
        const QString reported =
            bootstrap::start(EngineSetupProfile::freedesktop({}), installScript);
        qputenv("PATH", path);

        if (terminal.isEmpty()) {
            QVERIFY2(reported.startsWith(problem), qPrintable(reported));
            QTest::qWait(200);
            QVERIFY(QDir(folder.path(), u"*.argv"_s).entryList().isEmpty());
            return;
        }
        QCOMPARE(reported, QString());
        QTRY_VERIFY(QFile::exists(folder.filePath(terminal + u".argv"_s)));
        const QStringList arguments = recordedArguments(folder.filePath(terminal));
        QCOMPARE(arguments.mid(0, 3), (QStringList{separator, u"/bin/bash"_s, u"-c"_s}));
        QCOMPARE(arguments.last(), installScript);
        QCOMPARE(arguments.count(installScript), 1);

        // Run what the terminal would run and press Enter.
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, folder.path());
        shell.setProcessEnvironment(environment);
        shell.setProcessChannelMode(QProcess::MergedChannels);
        shell.start(arguments[1], arguments.mid(2));
        QVERIFY(shell.waitForStarted());
        QByteArray shown;
        QTRY_VERIFY((shown += shell.readAll()).contains("Press Enter to close this window."));
        shell.write("\n");
        QVERIFY(shell.waitForFinished(10000));
        const QString output = QString::fromUtf8(shown + shell.readAll());
        QVERIFY2(output.contains(u'\n' + elevation + u'\n'), qPrintable(output));
        QFile ran(marker);
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QVERIFY(ran.readAll().startsWith("it's \"quoted\" /"));
    }
};

QTEST_GUILESS_MAIN(TestPackageManagerBootstrap)
#include "tst_packagemanagerbootstrap.moc"
