#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace velmarto {

// Gets a MIDI file ready for MuseScore's import, which reads every text as UTF-8 and takes the
// score's title only from its own title event (meta type 0x10) in the first track with notes.
class MidiPreparation {
public:
    // Files larger than this go to MuseScore untouched; no real score comes near it.
    static constexpr qint64 maximumFileSize = qint64{64} * 1024 * 1024;

    // A recording played on a keyboard is first quantised into written music.
    // Text events (meta types 1 to 9) that are not valid UTF-8 are re-encoded from Windows-1252.
    // A non-empty title becomes the title event at the start of the first track with notes, or
    // replaces the text of the title events that track already has. Nothing else changes.
    // Returns nothing when the bytes are not a well-formed Standard MIDI File.
    // played: whether the file was played on a keyboard; nothing to tell from its onsets.
    static std::optional<QByteArray> prepared(QByteArrayView original, const QString& title,
                                              std::optional<bool> played = std::nullopt);

    // Writes the prepared copy of source to target. False when source cannot be read or parsed
    // or target cannot be written; the caller then hands MuseScore the original.
    static bool prepare(const QString& source, const QString& target, const QString& title,
                        std::optional<bool> played = std::nullopt);
};

} // namespace velmarto
