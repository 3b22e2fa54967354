#include "ui/convert/DialogFileChooser.h"

#include <QDir>
#include <QStandardPaths>

namespace velmarto {

DialogFileChooser::DialogFileChooser(QObject* parent)
    : QObject(parent) {}

void DialogFileChooser::chooseFileToOpen(const QStringList& nameFilters, Answer answer) {
    m_pending = std::move(answer);
    emit openRequested(nameFilters);
}

void DialogFileChooser::chooseSaveDestination(const QString& suggestedName,
                                              const QStringList& nameFilters, Answer answer) {
    m_pending = std::move(answer);
    // Many Linux homes have no Documents folder; a dialog opened on a missing one lists nothing
    // useful.
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) {
        folder = QDir::home();
    }
    emit saveRequested(QUrl::fromLocalFile(folder.absolutePath()),
                       QUrl::fromLocalFile(folder.filePath(suggestedName)), nameFilters);
}

void DialogFileChooser::accept(const QUrl& chosen) {
    answerWith(chosen.isEmpty() ? std::nullopt : std::optional(chosen));
}

void DialogFileChooser::cancel() {
    answerWith(std::nullopt);
}

void DialogFileChooser::answerWith(const std::optional<QUrl>& chosen) {
    // Taken out first: the answer may well ask for the next dialog.
    const Answer answer = std::exchange(m_pending, nullptr);
    if (answer) {
        answer(chosen);
    }
}

} // namespace velmarto
