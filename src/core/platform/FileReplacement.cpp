#include "core/platform/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmarto {

using namespace Qt::StringLiterals;

std::expected<void, QString> FileReplacement::copy(const QString& source,
                                                   const QString& destination) {
    const QFileInfo sourceInfo(source);
    const QFileInfo destinationInfo(destination);
    if (destinationInfo.exists() &&
        sourceInfo.canonicalFilePath() == destinationInfo.canonicalFilePath()) {
        return {};
    }

    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        return std::unexpected(input.errorString());
    }
    if (destinationInfo.isDir()) {
        return std::unexpected(u"“%1” is a folder."_s.arg(destination));
    }
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly)) {
        return std::unexpected(output.errorString());
    }
    // Returning before commit() discards the partial copy and leaves the destination alone.
    constexpr qint64 chunkSize = 1 << 20;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(chunkSize);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError) {
            return std::unexpected(input.errorString());
        }
        if (output.write(chunk) != chunk.size()) {
            return std::unexpected(output.errorString());
        }
    }
    if (!output.commit()) {
        return std::unexpected(output.errorString());
    }
    return {};
}

} // namespace velmarto
