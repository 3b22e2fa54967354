#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmarto {

// Refuses a command line whose outputs would overwrite one of its inputs or each other: a PDF
// written over the MIDI file it came from, or MusicXML written into the PDF. Paths are compared as
// files (links and "dir/.." resolved), not as texts.
namespace outputcheck {

// The usage message for the first clash, or nothing when every output is its own file.
[[nodiscard]] std::optional<QString> clash(const QStringList& inputs, const QStringList& pdfOutputs,
                                           const QString& musicXmlOutput);

bool sameFile(const QString& first, const QString& second);

} // namespace outputcheck

} // namespace velmarto
