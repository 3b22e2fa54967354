#pragma once

#include <QString>

#include <optional>

namespace velmarto {

// MuseScore 3 splits a MIDI track that plays on several channels into one part per channel, and
// gives the first of those parts the track's lyrics once for every part: each note then carries
// the same syllable two or more times under the same lyric number. musicxml2ly sings them one
// after another, so the score would print every syllable that many times.
namespace musicxmllyrics {
// The document without the repeats: of the lyrics of one note that share their number and
// their text, only the first stays. Lyrics that differ in either stay, and every other
// character stays where it was. Nothing when the document is not well-formed.
std::optional<QString> withoutRepeats(const QString& musicXml);

// Rewrites the file in place. Returns false when it could not be read, parsed or written, in
// which case it is left as it was.
bool removeRepeats(const QString& path);
} // namespace musicxmllyrics

} // namespace velmarto
