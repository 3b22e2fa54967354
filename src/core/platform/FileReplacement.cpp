#include "core/platform/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmarto::filereplacement {

using namespace Qt::StringLiterals;

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// The new copy's file, created beside the destination under a name nobody else can have taken.
struct TemporaryCopy {
    QString path;
    int descriptor = -1;
};

std::expected<TemporaryCopy, QString> createBeside(const QString& destination) {
    const QString folder = QFileInfo(destination).absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = folder + u"/.velmarto-save-"_s +
                             QString::number(QRandomGenerator::system()->generate64(), 36);
        // O_EXCL with O_NOFOLLOW: never a file or a link someone else put there first. The mode
        // is the one any new file gets, less the user's umask.
        const int descriptor = ::open(encoded(path).constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            return TemporaryCopy{.path = path, .descriptor = descriptor};
        }
        if (errno != EEXIST) {
            return std::unexpected(systemError(errno));
        }
    }
    return std::unexpected(u"Could not create a temporary file in %1."_s.arg(folder));
}

bool writeAll(int descriptor, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(descriptor, bytes.constData() + written,
                                     static_cast<size_t>(bytes.size() - written));
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            return false;
        }
        written += step;
    }
    return true;
}

// Fills the new copy and gives it the permissions of the file it replaces, as an editor's save
// keeps them; a new file keeps the mode it was created with.
std::expected<void, QString> writeCopy(QFile& input, int descriptor, const QString& destination) {
    constexpr qint64 chunkSize = 1 << 20;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(chunkSize);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError) {
            return std::unexpected(input.errorString());
        }
        if (!writeAll(descriptor, chunk)) {
            return std::unexpected(systemError(errno));
        }
    }
    struct stat replaced {};
    if (::lstat(encoded(destination).constData(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
        ::fchmod(descriptor, replaced.st_mode & 0777) != 0) {
        return std::unexpected(systemError(errno));
    }
    if (::fsync(descriptor) != 0) {
        return std::unexpected(systemError(errno));
    }
    return {};
}

} // namespace

std::expected<void, QString> checkDestination(const QString& destination) {
    struct stat entry {};
    if (::lstat(encoded(destination).constData(), &entry) == 0) {
        if (S_ISDIR(entry.st_mode)) {
            return std::unexpected(u"“%1” is a folder."_s.arg(destination));
        }
        // A link is fine: the copy replaces the link, never what it points to.
        if (!S_ISREG(entry.st_mode) && !S_ISLNK(entry.st_mode)) {
            return std::unexpected(u"“%1” is not a regular file."_s.arg(destination));
        }
    }
    const QString folder = QFileInfo(destination).absolutePath();
    struct stat folderEntry {};
    if (::stat(encoded(folder).constData(), &folderEntry) != 0) {
        return std::unexpected(u"The folder “%1” does not exist."_s.arg(folder));
    }
    if (!S_ISDIR(folderEntry.st_mode)) {
        return std::unexpected(u"“%1” is not a folder."_s.arg(folder));
    }
    if (::access(encoded(folder).constData(), W_OK | X_OK) != 0) {
        return std::unexpected(u"The folder “%1” cannot be written to."_s.arg(folder));
    }
    return {};
}

std::expected<void, QString> copy(const QString& source, const QString& destination) {
    const QFileInfo sourceInfo(source);
    const QFileInfo destinationInfo(destination);
    if (destinationInfo.exists() &&
        sourceInfo.canonicalFilePath() == destinationInfo.canonicalFilePath()) {
        return {};
    }
    if (const auto usable = checkDestination(destination); !usable) {
        return usable;
    }
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        return std::unexpected(input.errorString());
    }

    const auto temporary = createBeside(destination);
    if (!temporary) {
        return std::unexpected(temporary.error());
    }
    const auto written = writeCopy(input, temporary->descriptor, destination);
    if (::close(temporary->descriptor) != 0 && written) {
        const int error = errno;
        ::unlink(encoded(temporary->path).constData());
        return std::unexpected(systemError(error));
    }
    if (!written) {
        ::unlink(encoded(temporary->path).constData());
        return written;
    }
    if (::rename(encoded(temporary->path).constData(), encoded(destination).constData()) != 0) {
        const int error = errno;
        ::unlink(encoded(temporary->path).constData());
        return std::unexpected(systemError(error));
    }
    return {};
}

} // namespace velmarto::filereplacement
