#include "core/conversion/midi/ScoreTitle.h"

#include <QFileInfo>

namespace velmarto {

QString ScoreTitle::textFor(const QString& midiPath) const {
    switch (m_source) {
    case Source::fileName:
        return readableFileName(midiPath);
    case Source::custom:
        return m_text.simplified();
    case Source::none:
        break;
    }
    return {};
}

QString ScoreTitle::readableFileName(const QString& midiPath) {
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
