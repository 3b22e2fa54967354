#include "core/conversion/MusicXmlFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace velmarto::musicxmlfile {

std::optional<QString> read(const QString& path) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(source.readAll());
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

bool write(const QString& path, const QString& text) {
    QSaveFile target(path);
    return target.open(QIODevice::WriteOnly) && target.write(text.toUtf8()) >= 0 && target.commit();
}

} // namespace velmarto::musicxmlfile
