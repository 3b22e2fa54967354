#include "core/conversion/MuseScoreImportOptions.h"

#include <QDir>
#include <QSaveFile>

#include <bit>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

QString element(const QString& name, const QString& value) {
    return u"  <"_s + name + u'>' + value + u"</"_s + name + u">\n"_s;
}

QString element(const QString& name, std::optional<bool> value) {
    return value ? element(name, *value ? u"true"_s : u"false"_s) : QString();
}

QString element(const QString& name, std::optional<int> value) {
    return value ? element(name, QString::number(*value)) : QString();
}

} // namespace

MuseScoreImportOptions MuseScoreImportOptions::chosen(const ImportOptions& options) {
    using Tuplets = ImportOptions::Tuplets;
    MuseScoreImportOptions chosen;
    if (options.shortestNote) {
        // A quarter is 0, each halving one more.
        chosen.quantValue = std::countr_zero(unsigned(*options.shortestNote)) - 2;
    }
    if (options.voices) {
        chosen.voiceCount = *options.voices - 1;
    }
    if (options.tuplets) {
        const bool all = *options.tuplets == Tuplets::all;
        chosen.duplets = all;
        chosen.triplets = *options.tuplets != Tuplets::none;
        chosen.quadruplets = all;
        chosen.quintuplets = all;
        chosen.septuplets = all;
        chosen.nonuplets = all;
    }
    switch (options.swing) {
    case ImportOptions::Swing::none:
        break;
    case ImportOptions::Swing::shuffle:
        chosen.swing = 1;
        break;
    case ImportOptions::Swing::swing:
        chosen.swing = 2;
        break;
    }
    // MuseScore replaces the file's time signature with its own when it takes the file for a
    // performance.
    if (!std::holds_alternative<std::monostate>(options.meter)) {
        chosen.humanPerformance = false;
    }
    if (options.splitPiano == false) {
        chosen.splitStaff = false;
    }
    return chosen;
}

QString MuseScoreImportOptions::xml() const {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MidiOptions>\n"_s +
           element(u"HumanPerformance"_s, humanPerformance) +
           element(u"ClefChanges"_s, clefChanges) + element(u"QuantValue"_s, quantValue) +
           element(u"VoiceCount"_s, voiceCount) + element(u"Duplets"_s, duplets) +
           element(u"Triplets"_s, triplets) + element(u"Quadruplets"_s, quadruplets) +
           element(u"Quintuplets"_s, quintuplets) + element(u"Septuplets"_s, septuplets) +
           element(u"Nonuplets"_s, nonuplets) + element(u"Swing"_s, swing) +
           element(u"SplitStaff"_s, splitStaff) + u"</MidiOptions>\n"_s;
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
