#include "FakeProgram.h"
#include "core/setup/PackageManagerBootstrap.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::EngineSetupProfile;
using velmarto::TerminalLauncher;
using velmarto::test::FakeProgram;
namespace bootstrap = velmarto::bootstrap;

namespace {

// A terminal emulator that writes its arguments, NUL-separated, to ARGV beside itself.
QString writeFakeTerminal(const QString& folder, const QString& name) {
    const QString path = folder + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write the fake terminal");
    }
    file.write(
        QStringLiteral("#!/bin/bash\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%1.argv'\n")
            .arg(path)
            .toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

    // The first terminal that can be started gets the command; the install script travels as
    // an argument of its own, so nothing in it is ever read as part of another command.
    void theFirstWorkingTerminalRunsTheScriptThroughSudoAndWaitsForEnter() {
        QTemporaryDir folder;
        const QString notExecutable = folder.filePath(u"broken-terminal"_s);
        QFile(notExecutable).open(QIODevice::WriteOnly);
        const QString terminal = writeFakeTerminal(folder.path(), u"terminal"_s);
        const QString unused = writeFakeTerminal(folder.path(), u"unused"_s);
        EngineSetupProfile profile = EngineSetupProfile::freedesktop({});
        profile.terminals = {{folder.filePath(u"missing"_s), {u"-e"_s}},
                             {notExecutable, {u"-e"_s}},
                             {terminal, {u"--"_s}},
                             {unused, {u"-e"_s}}};
        const QString marker = folder.filePath(u"ran as root"_s);
        const QString installScript =
            u"echo \"$(id -u) it's \\\"quoted\\\" $HOME\" > '"_s + marker + u"'"_s;

        bootstrap::start(profile, installScript);

        QTRY_VERIFY(QFile::exists(terminal + u".argv"_s));
        const QStringList arguments = recordedArguments(terminal);
        QCOMPARE(arguments.size(), 6);
        QCOMPARE(arguments.mid(0, 3), (QStringList{u"--"_s, u"/bin/bash"_s, u"-c"_s}));
        QCOMPARE(arguments.last(), installScript);
        QVERIFY(!arguments[3].contains(marker));
        QVERIFY(!QFile::exists(unused + u".argv"_s));

        // Run what the terminal would run, with a sudo that only records, and press Enter.
        const QString sudo = folder.filePath(u"bin/sudo"_s);
        QDir().mkpath(folder.filePath(u"bin"_s));
        QFile sudoFile(sudo);
        QVERIFY(sudoFile.open(QIODevice::WriteOnly));
        sudoFile.write("#!/bin/bash\necho \"sudo $1 $2\"\nexec \"$@\"\n");
        sudoFile.close();
        QFile::setPermissions(sudo, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, folder.filePath(u"bin"_s) + u":/usr/bin:/bin"_s);
        shell.setProcessEnvironment(environment);
        shell.setProcessChannelMode(QProcess::MergedChannels);
        shell.start(arguments[1], arguments.mid(2));
        QVERIFY(shell.waitForStarted());
        QByteArray shown;
        QTRY_VERIFY((shown += shell.readAll()).contains("Press Enter to close this window."));
        QCOMPARE(shell.state(), QProcess::Running);
        shell.write("\n");
        QVERIFY(shell.waitForFinished(10000));
        const QString output = QString::fromUtf8(shown + shell.readAll());
        QVERIFY2(output.contains(u"sudo /bin/bash -c\n"_s), qPrintable(output));
        QVERIFY(output.contains(u"Press Enter to close this window."_s));
        QFile ran(marker);
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QVERIFY(ran.readAll().contains("it's \"quoted\" /"));
    }
};

QTEST_GUILESS_MAIN(TestPackageManagerBootstrap)
#include "tst_packagemanagerbootstrap.moc"
