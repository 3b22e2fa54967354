#include "qml/convert/FolderExport.h"

#include "core/platform/FileReplacement.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace velmarto {

using namespace Qt::StringLiterals;

FolderExport::FolderExport(const QString& folder, const QList<std::pair<QString, QString>>& pdfs) {
    const QDir destination(folder);
    QSet<QString> taken;
    for (const auto& [midi, pdf] : pdfs) {
        const QString stem = QFileInfo(midi).completeBaseName();
        QString name = stem + u".pdf"_s;
        for (int number = 2; taken.contains(name.toCaseFolded()); ++number) {
            name = u"%1 (%2).pdf"_s.arg(stem).arg(number);
        }
        // Case-folded: on the case-insensitive file systems of macOS and of USB sticks,
        // "Waltz.pdf" and "waltz.pdf" are one file.
        taken.insert(name.toCaseFolded());
        m_copies.append({pdf, destination.filePath(name)});
    }
}

QStringList FolderExport::replacedNames() const {
    QStringList names;
    for (const Copy& copy : m_copies) {
        if (QFileInfo::exists(copy.destination)) {
            names.append(QFileInfo(copy.destination).fileName());
        }
    }
    return names;
}

QStringList FolderExport::write() const {
    QStringList failures;
    for (const Copy& copy : m_copies) {
        const auto copied = filereplacement::copy(copy.source, copy.destination);
        if (!copied) {
            failures.append(QFileInfo(copy.destination).fileName() + u": "_s + copied.error());
        }
    }
    return failures;
}

} // namespace velmarto
