#include "core/conversion/InputFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmarto::inputfile {

using namespace Qt::StringLiterals;

bool existsButIsNotRegular(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode);
}

QString notRegularMessage(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return (name.isEmpty() ? path : name) + u" is not a regular file."_s;
}

std::expected<QByteArray, QString> read(const QString& path, qint64 maximumBytes) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return std::unexpected(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return std::unexpected(notRegularMessage(path));
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::unexpected(file.errorString());
    }
    const QByteArray bytes = file.read(maximumBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return std::unexpected(file.errorString());
    }
    return bytes;
}

} // namespace velmarto::inputfile
