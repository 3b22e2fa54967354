#pragma once

#include "core/conversion/EngineStatus.h"
#include "core/platform/EngineSetupProfile.h"
#include "core/setup/InstallerOutputDecoder.h"

#include <QObject>
#include <QProcess>
#include <QString>

#include <optional>

namespace velmarto {

// Installs the engines that are missing through the platform's package manager, streaming the
// script's output as it arrives. Success means the engines are on disk once the script has
// ended, whatever the script's exit status. One per setup screen; every property changes on the
// main thread, where the script's QProcess lives. There is no cancelling: an installer
// destroyed during a run leaves the script running to its end and publishes nothing more. The
// shared engine status is asked to look again when a run starts and when it ends, so every
// screen sees what the run installed.
class EngineInstaller : public QObject {
    Q_OBJECT
    // Everything the script printed, markers removed.
    Q_PROPERTY(QString output READ output NOTIFY outputChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    // The latest run's script has ended.
    Q_PROPERTY(bool finished READ finished NOTIFY finishedChanged)
    // All three engines were found when the latest run ended.
    Q_PROPERTY(bool success READ success NOTIFY successChanged)
    // The latest run could not use the package manager: there was none (on macOS: no Homebrew),
    // or no administrator rights could be asked for.
    Q_PROPERTY(bool brewMissing READ brewMissing NOTIFY brewMissingChanged)
    // The card that says which of the two it was and may offer openInstallTerminal(): its title,
    // text and button label (empty: no button).
    Q_PROPERTY(QString bootstrapTitle READ bootstrapTitle NOTIFY brewMissingChanged)
    Q_PROPERTY(QString bootstrapText READ bootstrapText NOTIFY brewMissingChanged)
    Q_PROPERTY(QString bootstrapButton READ bootstrapButton NOTIFY brewMissingChanged)
    // When administrator rights were missing: the one command that installs the engines by hand.
    Q_PROPERTY(QString manualCommand READ manualCommand NOTIFY brewMissingChanged)
    // Why the latest openInstallTerminal() could not open a terminal; empty when it did.
    Q_PROPERTY(QString terminalProblem READ terminalProblem NOTIFY terminalProblemChanged)

public:
    // The status is kept as a pointer; its owner keeps it as long as this installer.
    EngineInstaller(EngineSetupProfile setup, EngineStatus* engines, QObject* parent = nullptr);
    ~EngineInstaller() override;

    QString output() const { return m_output; }
    bool isRunning() const { return m_isRunning; }
    bool finished() const { return m_finished; }
    bool success() const { return m_success; }
    bool brewMissing() const { return m_brewMissing; }
    QString bootstrapTitle() const;
    QString bootstrapText() const;
    QString bootstrapButton() const;
    QString manualCommand() const { return m_manualCommand; }
    QString terminalProblem() const { return m_terminalProblem; }

    // Does nothing while a run is in progress.
    Q_INVOKABLE void installMissing();
    // Opens a terminal that installs the package manager (macOS) or the engines as root (Linux).
    // Changes nothing here but terminalProblem.
    Q_INVOKABLE void openInstallTerminal();

signals:
    void outputChanged();
    // After outputChanged, with just the text that was added, so that a log can grow without
    // taking in the whole output again.
    void outputAppended(const QString& text);
    void isRunningChanged();
    void finishedChanged();
    void successChanged();
    void brewMissingChanged();
    void terminalProblemChanged();

private:
    void readAvailable();
    void end();
    void failToLaunch();
    void append(const QString& text);
    void setOutput(const QString& output);
    void setRunning(bool isRunning);
    void setFinished(bool finished);
    void setSuccess(bool success);
    void setBrewMissing(bool brewMissing);
    void setTerminalProblem(const QString& problem);
    const SetupHelp& help() const;

    EngineSetupProfile m_setup;
    EngineStatus* m_engines;
    QProcess* m_process = nullptr;
    std::optional<InstallerOutputDecoder> m_decoder;

    QString m_output;
    bool m_isRunning = false;
    bool m_finished = false;
    bool m_success = false;
    bool m_brewMissing = false;
    bool m_needsAdministrator = false;
    QString m_manualCommand;
    QString m_terminalProblem;
};

} // namespace velmarto
