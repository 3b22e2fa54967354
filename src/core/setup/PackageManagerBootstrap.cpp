#include "core/setup/PackageManagerBootstrap.h"

#include <QProcess>
#include <QStandardPaths>

namespace velmarto::bootstrap {

using namespace Qt::StringLiterals;

namespace {

QString escapedForAppleScript(QString text) {
    return text.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
}

// Runs inside the terminal with the install script as $1.
const QString sudoWrapper =
    u"echo 'Velmarto is installing the engraving engines. Type your password if sudo asks "
    u"for it.'\n"
    u"sudo /bin/bash -c \"$1\"\n"
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

void openTerminal(const QList<TerminalLauncher>& terminals, const QString& installScript) {
    for (const TerminalLauncher& terminal : terminals) {
        const QString program = QStandardPaths::findExecutable(terminal.program);
        if (!program.isEmpty() &&
            QProcess::startDetached(program, terminalArguments(terminal, installScript))) {
            return;
        }
    }
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

QStringList terminalArguments(const TerminalLauncher& terminal, const QString& installScript) {
    return terminal.commandPrefix +
           QStringList{u"/bin/bash"_s, u"-c"_s, sudoWrapper, u"velmarto-setup"_s, installScript};
}

void start(const EngineSetupProfile& profile, const QString& installScript) {
    switch (profile.packageManager) {
    case EngineSetupProfile::PackageManager::homebrew:
        runAppleScript(profile.scriptRunner, terminalAppleScript());
        return;
    case EngineSetupProfile::PackageManager::distribution:
        openTerminal(profile.terminals, installScript);
        return;
    }
}

} // namespace velmarto::bootstrap
