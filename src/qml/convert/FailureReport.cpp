#include "qml/convert/FailureReport.h"

#include "core/conversion/InputFile.h"
#include "core/conversion/midi/MidiFile.h"

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// Larger files are handed to MuseScore unparsed as well, so nothing is known about them.
constexpr qint64 largestParsedMidi = qint64{64} * 1024 * 1024;

bool isDamagedMidi(const QString& path) {
    const auto bytes = inputfile::read(path, largestParsedMidi);
    return bytes && bytes->size() <= largestParsedMidi && !MidiFile::parse(*bytes);
}

QString causeOf(const ConversionError& error, const QString& midiPath) {
    const QString& stage = error.stage();
    const QString& detail = error.detail();
    if (stage.startsWith(u"MuseScore"_s) && isDamagedMidi(midiPath)) {
        return u"The file looks damaged or is not a MIDI file."_s;
    }
    if (stage.startsWith(u"Locating "_s)) {
        const QString engine = stage.mid(9);
        return (engine == u"lilypond"_s ? u"LilyPond"_s : engine) + u" is not installed."_s;
    }
    // The engine's own words follow the sentence after a blank line.
    if (detail.startsWith(u"The engine did not finish"_s) || stage == u"Reading the MIDI file"_s) {
        return detail.section(u"\n\n"_s, 0, 0);
    }
    return {};
}

} // namespace

FailureReport FailureReport::of(const ConversionFailure& failure, const QString& midiPath) {
    const QString details = describe(failure);
    if (const auto* error = std::get_if<ConversionError>(&failure)) {
        return {error->stage() + u" failed."_s, causeOf(*error, midiPath), details};
    }
    if (std::holds_alternative<WorkDirectoryError>(failure)) {
        return {u"Preparing the conversion failed."_s,
                u"Velmarto could not create a work folder: the disk may be full or read-only."_s,
                details};
    }
    return {details, {}, {}};
}

} // namespace velmarto
