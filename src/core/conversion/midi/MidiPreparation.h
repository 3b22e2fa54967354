#pragma once

#include "core/conversion/ImportOptions.h"
#include "core/conversion/midi/MidiTiming.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace velmarto {

// Gets a MIDI file ready for MuseScore's import, which reads every text as UTF-8, takes the
// score's title only from its own title event (meta type 0x10) in the first track with notes,
// ignores the key signatures of a first track without notes, and reads a sequenced file whose
// notes all sit a little off the beat as a played one.
namespace midipreparation {
// Files larger than this go to MuseScore untouched; no real score comes near it.
inline constexpr qint64 maximumFileSize = qint64{64} * 1024 * 1024;

struct Prepared {
    QByteArray bytes;
    // How the original's notes stand to the beat; nothing when that cannot be told.
    std::optional<MidiTiming> timing;
    // How many of the original's tracks hold notes.
    int tracksWithNotes = 0;
};

// A recording played on a keyboard is first quantised into written music.
// Text events (meta types 1 to 9) that are not valid UTF-8 are re-encoded from Windows-1252.
// A non-empty title becomes the title event at the start of the first track with notes, or
// replaces the text of the title events that track already has. A sequenced file whose notes
// sit off the grid is moved back onto it. Every track with notes other than drums gets the key
// signature that suits its notes best, unless it changes key on its way. Nothing else changes
// unless the import options ask for it: the tracks not chosen lose their notes, a chosen time
// signature replaces the file's, a chosen key (or the file's own) goes into every track with
// notes, and piano tracks are split between two staves.
// Returns nothing when the bytes are not a well-formed Standard MIDI File.
std::optional<Prepared> prepared(QByteArrayView original, const QString& title,
                                 const ImportOptions& import = {});

// Writes the prepared copy of source to target. Nothing when source cannot be read or parsed
// or target cannot be written; the caller then hands MuseScore the original.
std::optional<Prepared> prepare(const QString& source, const QString& target, const QString& title,
                                const ImportOptions& import = {});
} // namespace midipreparation

} // namespace velmarto
