#pragma once

#include <QString>

namespace velmarto {

// The base name a conversion's work files carry: the MIDI file's name without its extension,
// made safe for the engines. musicxml2ly hands its output path to a shell inside double quotes,
// where "$", "`", "\" and '"' still act, and writes the input's name into a LilyPond comment,
// which a line break would end. Those characters and every control character become "_", and the
// name is shortened so that the longest work file still fits the file system, together with the
// temporary copy an atomic rewrite makes beside it.
namespace workfilename {
QString baseFor(const QString& midiPath);

// Longest file name, in bytes, that common file systems accept.
inline constexpr qsizetype maximumFileNameBytes = 255;
inline constexpr qsizetype longestExtensionBytes = 9; // ".musicxml"
inline constexpr qsizetype rewriteSuffixBytes = 7;    // QSaveFile's ".XXXXXX"
inline constexpr qsizetype maximumBaseBytes =
    maximumFileNameBytes - longestExtensionBytes - rewriteSuffixBytes;
} // namespace workfilename

} // namespace velmarto
