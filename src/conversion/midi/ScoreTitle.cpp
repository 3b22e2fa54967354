#include "conversion/midi/ScoreTitle.h"

#include <QFileInfo>

namespace velmarto {

QString ScoreTitle::fromFileName(const QString& midiPath) {
    QString words = QFileInfo(midiPath).completeBaseName();
    words.replace(u'_', u' ');
    words = words.simplified();
    bool startOfWord = true;
    for (QChar& character : words) {
        if (startOfWord) {
            character = character.toUpper();
        }
        startOfWord = character == u' ';
    }
    return words;
}

} // namespace velmarto
