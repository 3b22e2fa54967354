#pragma once

#include "conversion/ConversionError.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <expected>

namespace velmarto {

// One engine run: the executable, its arguments and how to treat its exit.
struct EngineInvocation {
    QString executable{};
    QStringList arguments{};
    QString stage{};
    QStringList extraPath{};
    QMap<QString, QString> extraEnvironment{};
    bool throwOnNonZero = true;
};

// Runs one engine as a child process and turns what it printed and how it ended into a transcript
// or a ConversionError of the invocation's stage. Blocks the calling thread for the child's whole
// life, so it is only called off the main thread.
class EngineRunner {
public:
    // baseEnvironment is the application's own environment; temporaryDirectory is the TMPDIR a
    // child gets when that environment has none.
    EngineRunner(QProcessEnvironment baseEnvironment, QString temporaryDirectory);

    std::expected<QString, ConversionError> run(const EngineInvocation& invocation) const;

    QProcessEnvironment environmentFor(const EngineInvocation& invocation) const;
    static QString commandLine(const EngineInvocation& invocation);

private:
    QProcessEnvironment m_baseEnvironment;
    QString m_temporaryDirectory;
};

} // namespace velmarto
