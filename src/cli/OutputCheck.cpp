#include "cli/OutputCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace velmarto::outputcheck {

using namespace Qt::StringLiterals;

namespace {

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The path with its folder resolved as far as it exists, for files that do not exist yet.
QString resolved(const QString& path) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
}

} // namespace

bool sameFile(const QString& first, const QString& second) {
    std::error_code error;
    if (std::filesystem::equivalent(fileSystemPath(first), fileSystemPath(second), error)) {
        return true;
    }
    return resolved(first) == resolved(second);
}

std::optional<QString> clash(const QStringList& inputs, const QStringList& pdfOutputs,
                             const QString& musicXmlOutput) {
    QStringList outputs = pdfOutputs;
    if (!musicXmlOutput.isEmpty()) {
        outputs << musicXmlOutput;
    }
    for (const QString& output : outputs) {
        for (const QString& input : inputs) {
            if (sameFile(output, input)) {
                return u"'%1' is an input file and would be overwritten"_s.arg(output);
            }
        }
    }
    for (qsizetype first = 0; first < outputs.size(); ++first) {
        for (qsizetype second = first + 1; second < outputs.size(); ++second) {
            if (sameFile(outputs.at(first), outputs.at(second))) {
                return u"two outputs would both be written to '%1'"_s.arg(outputs.at(second));
            }
        }
    }
    return std::nullopt;
}

} // namespace velmarto::outputcheck
