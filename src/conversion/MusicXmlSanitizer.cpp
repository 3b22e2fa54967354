#include "conversion/MusicXmlSanitizer.h"

#include <QFile>
#include <QSaveFile>

namespace velmarto {

namespace {
// U+29F5 REVERSE SOLIDUS OPERATOR, in UTF-8.
constexpr char lookAlike[] = "\xE2\xA7\xB5";
} // namespace

QByteArray MusicXmlSanitizer::withoutBackslashes(const QByteArray& musicXml) {
    QByteArray result = musicXml;
    return result.replace('\\', QByteArray(lookAlike));
}

bool MusicXmlSanitizer::neutraliseBackslashes(const QString& path) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray original = source.readAll();
    source.close();
    if (!original.contains('\\')) {
        return true;
    }
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    target.write(withoutBackslashes(original));
    return target.commit();
}

} // namespace velmarto
