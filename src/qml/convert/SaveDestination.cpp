#include "qml/convert/SaveDestination.h"

#include <QDir>
#include <QFileInfo>

namespace velmarto {

namespace {

// Qt's own dialog joins the folder it shows and whatever was typed with a slash:
// "/home/me/Documents//tmp/Copy.pdf" for a typed absolute path. What was typed is text, not a URL:
// "#" and "?" are part of the name.
QString typedPath(const QUrl& typed, const QUrl& shownFolder) {
    QString text = typed.path(QUrl::FullyDecoded);
    if (typed.hasQuery()) {
        text += u'?' + typed.query(QUrl::FullyDecoded);
    }
    if (typed.hasFragment()) {
        text += u'#' + typed.fragment(QUrl::FullyDecoded);
    }
    const QDir base(shownFolder.isLocalFile() ? shownFolder.toLocalFile() : QDir::homePath());
    QString shown = base.absolutePath();
    if (!shown.endsWith(u'/')) {
        shown += u'/';
    }
    if (text.startsWith(shown)) {
        text = text.mid(shown.size());
    }
    return SaveDestination::resolveTyped(text, shownFolder).toLocalFile();
}

} // namespace

SaveDestination::SaveDestination(QObject* parent)
    : QObject(parent) {}

QUrl SaveDestination::resolve(const QUrl& chosen, const QUrl& shownFolder) {
    if (chosen.isEmpty() || !chosen.scheme().isEmpty()) {
        return chosen;
    }
    return QUrl::fromLocalFile(typedPath(chosen, shownFolder));
}

QUrl SaveDestination::withExtension(const QUrl& destination, const QUrl& suggestedFile) {
    const QString extension = QFileInfo(suggestedFile.path()).suffix();
    const QString name = fileName(destination);
    if (!destination.isLocalFile() || extension.isEmpty() || name.isEmpty() ||
        isFolder(destination) || name.endsWith(u'.' + extension, Qt::CaseInsensitive)) {
        return destination;
    }
    return QUrl::fromLocalFile(destination.toLocalFile() + u'.' + extension);
}

QUrl SaveDestination::resolveTyped(const QString& typed, const QUrl& shownFolder) {
    QString text = typed;
    if (text == u"~" || text.startsWith(u"~/")) {
        text = QDir::homePath() + text.mid(1);
    }
    const QDir base(shownFolder.isLocalFile() ? shownFolder.toLocalFile() : QDir::homePath());
    return QUrl::fromLocalFile(QDir::cleanPath(base.absoluteFilePath(text)));
}

bool SaveDestination::replacesFile(const QUrl& destination) {
    if (!destination.isLocalFile()) {
        return false;
    }
    const QFileInfo existing(destination.toLocalFile());
    return existing.exists() && !existing.isDir();
}

QString SaveDestination::fileName(const QUrl& destination) {
    return QFileInfo(destination.toLocalFile()).fileName();
}

QString SaveDestination::folderName(const QUrl& destination) {
    return QFileInfo(destination.toLocalFile()).dir().dirName();
}

bool SaveDestination::isFolder(const QUrl& url) {
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir();
}

} // namespace velmarto
