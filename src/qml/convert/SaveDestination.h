#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQmlIntegration>

namespace velmarto {

// What a save dialog's answer means on disk. Qt's own dialog, which Linux gets without a platform
// theme, hands back a typed name as a bare path joined to the folder it shows; the desktop's
// dialogs hand back a file URL. Both become the file to write here, before the model is answered.
// The functions share no state. QML cannot call free functions, so views reach them through the
// singleton the engine makes (SaveDestination.resolve(...)); C++ calls them statically.
class SaveDestination : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit SaveDestination(QObject* parent = nullptr);

    // The file the dialog's answer names; a typed relative name lies in the shown folder.
    Q_INVOKABLE static QUrl resolve(const QUrl& chosen, const QUrl& shownFolder);
    // The file a name typed into the dialog names: a path with folders, from the home folder
    // ("~/"), or a plain name in the shown folder.
    Q_INVOKABLE static QUrl resolveTyped(const QString& typed, const QUrl& shownFolder);
    // The destination with the suggested file's extension added when its name does not end in it
    // (in any case): a copy saved as "My Score" would open in nothing.
    Q_INVOKABLE static QUrl withExtension(const QUrl& destination, const QUrl& suggestedFile);
    // Whether saving to the destination would overwrite a file already there.
    Q_INVOKABLE static bool replacesFile(const QUrl& destination);
    Q_INVOKABLE static QString fileName(const QUrl& destination);
    Q_INVOKABLE static QString folderName(const QUrl& destination);
    // Selecting a folder in the dialog must not replace the name to save under.
    Q_INVOKABLE static bool isFolder(const QUrl& url);
};

} // namespace velmarto
