#include "conversion/LilyPondSource.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace velmarto {

using namespace Qt::StringLiterals;

QString LilyPondSource::paperSizeLine(const QString& paperSize) {
    QString escaped = paperSize;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
    return u"#(set-default-paper-size \""_s + escaped + u"\")"_s;
}

QString LilyPondSource::withPaperSize(const QString& text, const QString& paperSize) {
    static const QRegularExpression pageDimension(u"^\\s*paper-(width|height)\\s*="_s);

    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString& line) { return pageDimension.match(line).hasMatch(); });

    qsizetype insertAt = 0;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (lines.at(index).contains(u"\\version"_s)) {
            insertAt = index + 1;
            break;
        }
    }
    lines.insert(insertAt, paperSizeLine(paperSize));
    return lines.join(u'\n');
}

bool LilyPondSource::setPaperSize(const QString& path, const QString& paperSize) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(source.readAll());
    source.close();
    if (decoder.hasError()) {
        return false;
    }

    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    target.write(withPaperSize(text, paperSize).toUtf8());
    return target.commit();
}

} // namespace velmarto
