#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmarto {

// Saves several engraved PDFs into one folder, each under its MIDI file's name with ".pdf"
// ("Waltz.mid" becomes "Waltz.pdf"). Two MIDI files of the same name from different folders
// get "Waltz.pdf" and "Waltz (2).pdf", so that one batch never writes over its own copies.
class FolderExport {
public:
    struct Copy {
        QString source;
        QString destination;
    };

    // pdfs pairs each MIDI file's path with the path of its engraved PDF.
    FolderExport(const QString& folder, const QList<std::pair<QString, QString>>& pdfs);

    const QList<Copy>& copies() const { return m_copies; }
    // The names of the copies that would replace a file already in the folder.
    QStringList replacedNames() const;
    // Saves every copy through filereplacement::copy; returns one "NAME: reason" for each copy
    // that could not be saved.
    QStringList write() const;

private:
    QList<Copy> m_copies;
};

} // namespace velmarto
