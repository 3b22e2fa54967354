#include "conversion/EngineRunner.h"

#include <QProcess>

namespace velmarto {

using namespace Qt::StringLiterals;

EngineRunner::EngineRunner(QProcessEnvironment baseEnvironment, QString temporaryDirectory)
    : m_baseEnvironment(std::move(baseEnvironment))
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

std::expected<QString, ConversionError>
EngineRunner::run(const EngineInvocation& invocation) const {
    QProcess process;
    process.setProgram(invocation.executable);
    process.setArguments(invocation.arguments);
    process.setProcessEnvironment(environmentFor(invocation));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        return std::unexpected(
            ConversionError(invocation.stage, u"Could not launch "_s + invocation.executable +
                                                  u": "_s + process.errorString()));
    }

    // Drain the pipe while the child runs, so one that prints more than a pipe buffer holds
    // never stalls waiting for us.
    QByteArray bytes;
    while (process.waitForReadyRead(-1)) {
        bytes += process.readAll();
    }
    process.waitForFinished(-1);
    bytes += process.readAll();

    // A child killed by a signal has no exit status of its own; report it the way a shell does,
    // so it can never read as success.
    const int status =
        process.exitStatus() == QProcess::CrashExit ? 128 + process.exitCode() : process.exitCode();

    // Invalid bytes become U+FFFD instead of dropping the output: it may be the only clue the
    // user gets about what went wrong.
    const QString output = QString::fromUtf8(bytes);

    if (status == 0) {
        return commandLine(invocation) + output + u'\n';
    }
    if (invocation.throwOnNonZero) {
        return std::unexpected(ConversionError(
            invocation.stage, u"Exit code "_s + QString::number(status) + u"\n\n"_s + output));
    }
    return commandLine(invocation) + output + u"\n(note: process exited "_s +
           QString::number(status) + u" during shutdown \u2014 output validated separately)\n"_s;
}

} // namespace velmarto
