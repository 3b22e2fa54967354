#include "core/conversion/EngineRunner.h"

#include <QElapsedTimer>
#include <QProcess>

#include <optional>
#include <signal.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#include <sys/types.h>
#include <unistd.h>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {
// How often a waiting run looks at its cancellation and its clock.
constexpr int pollMilliseconds = 50;
} // namespace

EngineRunner::EngineRunner(const QProcessEnvironment& baseEnvironment, QString temporaryDirectory)
    : m_baseEnvironment(baseEnvironment)
    , m_temporaryDirectory(std::move(temporaryDirectory)) {}

QProcessEnvironment EngineRunner::environmentFor(const EngineInvocation& invocation) const {
    QProcessEnvironment environment = m_baseEnvironment;
    const QString inheritedPath =
        environment.contains(u"PATH"_s) ? environment.value(u"PATH"_s) : u"/usr/bin:/bin"_s;
    environment.insert(u"PATH"_s, (invocation.extraPath + QStringList{inheritedPath}).join(u':'));
    if (!environment.contains(u"TMPDIR"_s)) {
        environment.insert(u"TMPDIR"_s, m_temporaryDirectory);
    }
    for (auto entry = invocation.extraEnvironment.cbegin();
         entry != invocation.extraEnvironment.cend(); ++entry) {
        environment.insert(entry.key(), entry.value());
    }
    return environment;
}

QString EngineRunner::commandLine(const EngineInvocation& invocation) {
    return u"$ "_s + invocation.executable + u' ' + invocation.arguments.join(u' ') + u'\n';
}

QString EngineRunner::timeoutMessage(std::chrono::milliseconds timeout) {
    const double seconds = std::chrono::duration<double>(timeout).count();
    return u"The engine did not finish within %1 seconds and was stopped."_s.arg(seconds);
}

std::expected<QString, EngineFailure> EngineRunner::run(const EngineInvocation& invocation) const {
    QProcess process;
    process.setProgram(invocation.executable);
    process.setArguments(invocation.arguments);
    process.setProcessEnvironment(environmentFor(invocation));
    process.setProcessChannelMode(QProcess::MergedChannels);
    // In a process group of its own an engine could be stopped by the terminal if it read from
    // it, and would then hang; engines take no input, so they get none.
    process.setStandardInputFile(QProcess::nullDevice());
    // Besides the group kill when the run ends, the kernel kills the engine when the thread that
    // started it goes, so no end of ours (a closed terminal, a logout, a crash, SIGKILL) leaves
    // an engine working for nobody. An engine whose parent went before the request took hold
    // stops at once.
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::setpgid(0, 0);
#ifdef Q_OS_LINUX
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(128 + SIGKILL);
        }
#else
        Q_UNUSED(parent);
#endif
    });

    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        return std::unexpected(EngineFailure(
            ConversionError(invocation.stage, u"Could not launch "_s + invocation.executable +
                                                  u": "_s + process.errorString())));
    }
    const auto group = static_cast<pid_t>(process.processId());
    QElapsedTimer clock;
    clock.start();

    // Drain the pipe while the child runs, so one that prints more than a pipe buffer holds
    // never stalls waiting for us; between reads, look at the clock and the cancellation.
    QByteArray bytes;
    std::optional<EngineFailure::Reason> stopped;
    while (process.state() != QProcess::NotRunning) {
        if (invocation.cancellation && invocation.cancellation->isCancelled()) {
            stopped = EngineFailure::Reason::cancelled;
        } else if (invocation.timeout.count() > 0 &&
                   clock.elapsed() >= invocation.timeout.count()) {
            stopped = EngineFailure::Reason::timedOut;
        }
        if (stopped) {
            ::kill(-group, SIGKILL);
            break;
        }
        if (process.waitForReadyRead(pollMilliseconds)) {
            bytes += process.readAll();
        }
    }
    process.waitForFinished(-1);
    bytes += process.readAll();
    ::kill(-group, SIGKILL);

    // A child killed by a signal has no exit status of its own; report it the way a shell does,
    // so it can never read as success.
    const int status =
        process.exitStatus() == QProcess::CrashExit ? 128 + process.exitCode() : process.exitCode();

    // Invalid bytes become U+FFFD instead of dropping the output: it may be the only clue the
    // user gets about what went wrong.
    const QString output = QString::fromUtf8(bytes);

    if (stopped) {
        const QString transcript = commandLine(invocation) + output + u'\n';
        const QString detail = *stopped == EngineFailure::Reason::timedOut
                                   ? timeoutMessage(invocation.timeout)
                                   : u"The conversion was cancelled."_s;
        return std::unexpected(
            EngineFailure(ConversionError(invocation.stage, detail + u"\n\n"_s + transcript),
                          *stopped, transcript));
    }
    if (status == 0) {
        return commandLine(invocation) + output + u'\n';
    }
    if (invocation.failOnNonZeroExit) {
        return std::unexpected(EngineFailure(ConversionError(
            invocation.stage, u"Exit code "_s + QString::number(status) + u"\n\n"_s + output)));
    }
    // The caller judges such a run by what it wrote, and says so when that is not enough.
    return commandLine(invocation) + output + u"\n(exit status "_s + QString::number(status) +
           u")\n"_s;
}

} // namespace velmarto
