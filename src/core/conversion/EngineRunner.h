#pragma once

#include "core/conversion/CancellationToken.h"
#include "core/conversion/EngineFailure.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <expected>

namespace velmarto {

// One engine run: the executable, its arguments and how to treat its exit.
struct EngineInvocation {
    QString executable{};
    QStringList arguments{};
    QString stage{};
    QStringList extraPath{};
    QMap<QString, QString> extraEnvironment{};
    // When false, a non-zero exit status is only noted in the transcript and the caller judges
    // the run by what it wrote.
    bool failOnNonZeroExit = true;
    // Stops the engine when set; see ConversionLimits.
    const CancellationToken* cancellation = nullptr;
    std::chrono::milliseconds timeout{0};
};

// Runs one engine as a child process and turns what it printed and how it ended into a transcript
// or a ConversionError of the invocation's stage. Blocks the calling thread for the child's whole
// life, so it is only called off the main thread. The engine runs in a process group of its own,
// and that whole group is killed when the run ends, is cancelled or times out: no helper an
// engine started outlives its run.
class EngineRunner {
public:
    // baseEnvironment is the application's own environment; temporaryDirectory is the TMPDIR a
    // child gets when that environment has none.
    EngineRunner(const QProcessEnvironment& baseEnvironment, QString temporaryDirectory);

    [[nodiscard]] std::expected<QString, EngineFailure>
    run(const EngineInvocation& invocation) const;

    QProcessEnvironment environmentFor(const EngineInvocation& invocation) const;
    static QString commandLine(const EngineInvocation& invocation);
    // The first line of the detail of a run that took longer than its timeout.
    static QString timeoutMessage(std::chrono::milliseconds timeout);

private:
    QProcessEnvironment m_baseEnvironment;
    QString m_temporaryDirectory;
};

} // namespace velmarto
