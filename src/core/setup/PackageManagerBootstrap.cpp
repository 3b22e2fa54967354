#include "core/setup/PackageManagerBootstrap.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace velmarto::bootstrap {

using namespace Qt::StringLiterals;

namespace {

QString escapedForAppleScript(QString text) {
    return text.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
}

// Runs inside the terminal with the elevated command as its arguments.
const QString terminalWrapper =
    u"echo 'Velmarto is installing the engraving engines. Type your password if you are asked "
    u"for it.'\n"
    u"\"$@\"\n"
    u"echo\n"
    u"printf 'Press Enter to close this window. '\n"
    u"read -r _\n"_s;

// osascript reads the script from standard input; the process deletes itself when done, so the
// answer is never looked at.
void runAppleScript(const QString& program, const QString& script) {
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                         }
                     });
    process->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(process, &QProcess::readyRead, process, [process] { process->readAll(); });
    process->start(program, {});
    process->write(script.toUtf8());
    process->closeWriteChannel();
}

QString firstExecutable(const QStringList& names) {
    for (const QString& name : names) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

QString openTerminal(const QList<TerminalLauncher>& terminals, const QString& installScript) {
    const QString elevationTool = firstExecutable({u"sudo"_s, u"pkexec"_s, u"su"_s});
    if (elevationTool.isEmpty()) {
        return u"Neither sudo, pkexec nor su was found to get administrator rights. Run the "
               u"command above as the administrator (root)."_s;
    }
    const QStringList elevated = elevatedArguments(elevationTool, installScript);
    for (const TerminalLauncher& terminal : terminals) {
        const QString program = QStandardPaths::findExecutable(terminal.program);
        if (!program.isEmpty() &&
            QProcess::startDetached(program, terminalArguments(terminal, elevated))) {
            return {};
        }
    }
    return u"No terminal program was found (x-terminal-emulator, gnome-terminal, konsole or "
           u"xterm). Run the command above in any terminal."_s;
}

} // namespace

QString homebrewInstallCommand() {
    return u"/bin/bash -c \"$(curl -fsSL "
           u"https://raw.githubusercontent.com/Homebrew/install/HEAD/install.sh)\""_s;
}

QString terminalAppleScript() {
    return u"tell application \"Terminal\"\nactivate\ndo script \""_s +
           escapedForAppleScript(homebrewInstallCommand()) + u"\"\nend tell"_s;
}

QStringList elevatedArguments(const QString& elevationTool, const QString& installScript) {
    // su hands a command string to root's shell; the fixed string finds the script in $1.
    if (QFileInfo(elevationTool).fileName() == u"su"_s) {
        return {elevationTool, u"-c"_s,   u"exec /bin/bash -c \"$1\""_s,
                u"--"_s,       u"root"_s, u"velmarto-setup"_s,
                installScript};
    }
    return {elevationTool, u"/bin/bash"_s, u"-c"_s, installScript};
}

QStringList terminalArguments(const TerminalLauncher& terminal, const QStringList& elevated) {
    return terminal.commandPrefix +
           QStringList{u"/bin/bash"_s, u"-c"_s, terminalWrapper, u"velmarto-setup"_s} + elevated;
}

QString start(const EngineSetupProfile& profile, const QString& installScript) {
    switch (profile.packageManager) {
    case EngineSetupProfile::PackageManager::homebrew:
        runAppleScript(profile.scriptRunner, terminalAppleScript());
        return {};
    case EngineSetupProfile::PackageManager::distribution:
        return openTerminal(profile.terminals, installScript);
    }
    return {};
}

} // namespace velmarto::bootstrap
