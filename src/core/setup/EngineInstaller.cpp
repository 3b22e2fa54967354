#include "core/setup/EngineInstaller.h"

#include "core/setup/InstallScript.h"
#include "core/setup/PackageManagerBootstrap.h"

#include <utility>

namespace velmarto {

using namespace Qt::StringLiterals;

EngineInstaller::EngineInstaller(Converter converter, QObject* parent)
    : QObject(parent)
    , m_converter(std::move(converter)) {}

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

QString EngineInstaller::bootstrapTitle() const {
    return m_converter.profile().setup.bootstrapTitle;
}

QString EngineInstaller::bootstrapText() const {
    return m_converter.profile().setup.bootstrapText;
}

QString EngineInstaller::bootstrapButton() const {
    return m_converter.profile().setup.bootstrapButton;
}

void EngineInstaller::installMissing() {
    if (m_isRunning) {
        return;
    }
    setRunning(true);
    setFinished(false);
    setSuccess(false);
    setBrewMissing(false);
    setOutput({});

    const EngineSetupProfile& setup = m_converter.profile().setup;
    const QString marker = installscript::missingManagerMarker(setup.packageManager);
    m_decoder.emplace(QStringList{u"__DONE__"_s, marker}, marker);

    if (m_process) {
        m_process->deleteLater();
    }
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setInputChannelMode(QProcess::ForwardedInputChannel);
    m_process->setProgram(setup.shell);
    m_process->setArguments({u"-lc"_s, installscript::forProfile(setup, m_converter.toolStatus())});
    connect(m_process, &QProcess::readyReadStandardOutput, this, &EngineInstaller::readAvailable);
    connect(m_process, &QProcess::finished, this, &EngineInstaller::end);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failToLaunch();
        }
    });
    m_process->start();
}

void EngineInstaller::installHomebrewInTerminal() {
    const EngineSetupProfile& setup = m_converter.profile().setup;
    bootstrap::start(setup, installscript::forProfile(setup, m_converter.toolStatus()));
}

void EngineInstaller::readAvailable() {
    append(m_decoder->decode(m_process->readAll()));
}

void EngineInstaller::end() {
    append(m_decoder->decode(m_process->readAll()) + m_decoder->finish());
    setRunning(false);
    setFinished(true);
    setSuccess(m_converter.allReady());
    if (m_decoder->sawMissingManagerMarker()) {
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

} // namespace velmarto
