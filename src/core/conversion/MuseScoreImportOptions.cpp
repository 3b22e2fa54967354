#include "core/conversion/MuseScoreImportOptions.h"

#include <QDir>
#include <QSaveFile>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

QString element(const QString& name, std::optional<bool> value) {
    if (!value) {
        return {};
    }
    return u"  <"_s + name + u'>' + (*value ? u"true"_s : u"false"_s) + u"</"_s + name + u">\n"_s;
}

} // namespace

QString MuseScoreImportOptions::xml() const {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MidiOptions>\n"_s +
           element(u"HumanPerformance"_s, humanPerformance) +
           element(u"ClefChanges"_s, clefChanges) + element(u"Septuplets"_s, septuplets) +
           u"</MidiOptions>\n"_s;
}

std::optional<QString> MuseScoreImportOptions::writeInto(const QString& folder) const {
    const QString path = QDir(folder).absoluteFilePath(u"import-options.xml"_s);
    QSaveFile file(path);
    const QByteArray bytes = xml().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return std::nullopt;
    }
    return path;
}

} // namespace velmarto
