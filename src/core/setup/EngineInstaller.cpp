#include "core/setup/EngineInstaller.h"

#include "core/setup/InstallScript.h"
#include "core/setup/PackageManagerBootstrap.h"

#include <utility>

namespace velmarto {

using namespace Qt::StringLiterals;

EngineInstaller::EngineInstaller(EngineSetupProfile setup, EngineStatus* engines, QObject* parent)
    : QObject(parent)
    , m_setup(std::move(setup))
    , m_engines(engines) {}

EngineInstaller::~EngineInstaller() {
    if (!m_process || m_process->state() == QProcess::NotRunning) {
        return;
    }
    // Destroying a QProcess kills its child, so the process is set free instead: it keeps
    // draining the pipe, so the script never blocks on a full one, and goes when it ends.
    QProcess* orphan = std::exchange(m_process, nullptr);
    orphan->disconnect(this);
    orphan->setParent(nullptr);
    connect(orphan, &QProcess::readyReadStandardOutput, orphan, [orphan] { orphan->readAll(); });
    connect(orphan, &QProcess::finished, orphan, &QObject::deleteLater);
}

const SetupHelp& EngineInstaller::help() const {
    return m_needsAdministrator ? m_setup.noAdministratorRights : m_setup.noPackageManager;
}

QString EngineInstaller::bootstrapTitle() const {
    return help().title;
}

QString EngineInstaller::bootstrapText() const {
    return help().text;
}

QString EngineInstaller::bootstrapButton() const {
    return help().button;
}

void EngineInstaller::installMissing() {
    if (m_isRunning) {
        return;
    }
    setRunning(true);
    setFinished(false);
    setSuccess(false);
    setBrewMissing(false);
    setTerminalProblem({});
    setOutput({});

    m_decoder.emplace(QStringList{u"__DONE__"_s,
                                  installscript::missingManagerMarker(m_setup.packageManager),
                                  installscript::noAdministratorRightsMarker()});

    if (m_process) {
        m_process->deleteLater();
    }
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setInputChannelMode(QProcess::ForwardedInputChannel);
    m_engines->refresh();
    m_process->setProgram(m_setup.shell);
    m_process->setArguments({u"-lc"_s, installscript::forProfile(m_setup, m_engines->installed())});
    connect(m_process, &QProcess::readyReadStandardOutput, this, &EngineInstaller::readAvailable);
    connect(m_process, &QProcess::finished, this, &EngineInstaller::end);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failToLaunch();
        }
    });
    m_process->start();
}

void EngineInstaller::openInstallTerminal() {
    m_engines->refresh();
    setTerminalProblem(
        bootstrap::start(m_setup, installscript::forProfile(m_setup, m_engines->installed())));
}

void EngineInstaller::readAvailable() {
    append(m_decoder->decode(m_process->readAll()));
}

void EngineInstaller::end() {
    append(m_decoder->decode(m_process->readAll()) + m_decoder->finish());
    m_engines->refresh();
    setRunning(false);
    setFinished(true);
    setSuccess(m_engines->allReady());
    m_needsAdministrator = m_decoder->saw(installscript::noAdministratorRightsMarker());
    m_manualCommand = m_needsAdministrator ? installscript::manualCommandIn(m_output) : QString();
    if (m_needsAdministrator ||
        m_decoder->saw(installscript::missingManagerMarker(m_setup.packageManager))) {
        setBrewMissing(true);
    }
}

void EngineInstaller::failToLaunch() {
    append(u"Could not start installer: "_s + m_process->errorString());
    setRunning(false);
}

void EngineInstaller::append(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    m_output += text;
    emit outputChanged();
    emit outputAppended(text);
}

void EngineInstaller::setOutput(const QString& output) {
    if (m_output == output) {
        return;
    }
    m_output = output;
    emit outputChanged();
}

void EngineInstaller::setRunning(bool isRunning) {
    if (m_isRunning == isRunning) {
        return;
    }
    m_isRunning = isRunning;
    emit isRunningChanged();
}

void EngineInstaller::setFinished(bool finished) {
    if (m_finished == finished) {
        return;
    }
    m_finished = finished;
    emit finishedChanged();
}

void EngineInstaller::setSuccess(bool success) {
    if (m_success == success) {
        return;
    }
    m_success = success;
    emit successChanged();
}

void EngineInstaller::setBrewMissing(bool brewMissing) {
    if (m_brewMissing == brewMissing) {
        return;
    }
    m_brewMissing = brewMissing;
    emit brewMissingChanged();
}

void EngineInstaller::setTerminalProblem(const QString& problem) {
    if (m_terminalProblem == problem) {
        return;
    }
    m_terminalProblem = problem;
    emit terminalProblemChanged();
}

} // namespace velmarto
