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
    // The latest run found no package manager it could use (on macOS: no Homebrew).
    Q_PROPERTY(bool brewMissing READ brewMissing NOTIFY brewMissingChanged)
    // The card that offers installHomebrewInTerminal(): its title, text and button label.
    Q_PROPERTY(QString bootstrapTitle READ bootstrapTitle CONSTANT)
    Q_PROPERTY(QString bootstrapText READ bootstrapText CONSTANT)
    Q_PROPERTY(QString bootstrapButton READ bootstrapButton CONSTANT)

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

    // Does nothing while a run is in progress.
    Q_INVOKABLE void installMissing();
    // Opens a terminal that installs the package manager (macOS) or the engines through sudo
    // (Linux). Changes nothing here.
    Q_INVOKABLE void installHomebrewInTerminal();

signals:
    void outputChanged();
    // After outputChanged, with just the text that was added, so that a log can grow without
    // taking in the whole output again.
    void outputAppended(const QString& text);
    void isRunningChanged();
    void finishedChanged();
    void successChanged();
    void brewMissingChanged();

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

    EngineSetupProfile m_setup;
    EngineStatus* m_engines;
    QProcess* m_process = nullptr;
    std::optional<InstallerOutputDecoder> m_decoder;

    QString m_output;
    bool m_isRunning = false;
    bool m_finished = false;
    bool m_success = false;
    bool m_brewMissing = false;
};

} // namespace velmarto
