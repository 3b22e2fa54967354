#include "core/conversion/WorkFileName.h"

#include <QFileInfo>

namespace velmarto::workfilename {

using namespace Qt::StringLiterals;

namespace {

bool isUnsafe(QChar character) {
    switch (character.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return character == u'$' || character == u'`' || character == u'\\' || character == u'"';
    }
}

} // namespace

QString baseFor(const QString& midiPath) {
    QString base = QFileInfo(midiPath).completeBaseName();
    for (QChar& character : base) {
        if (isUnsafe(character)) {
            character = u'_';
        }
    }
    while (base.toUtf8().size() > maximumBaseBytes) {
        base.chop(base.back().isLowSurrogate() ? 2 : 1);
    }
    return base.isEmpty() ? u"score"_s : base;
}

} // namespace velmarto::workfilename
