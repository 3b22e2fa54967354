#pragma once

#include <QString>

#include <optional>

namespace velmarto {

// The MusicXML file in the work folder as text, for the steps that edit it in place.
namespace musicxmlfile {
// The file's text; nothing when it cannot be read or is not valid UTF-8.
std::optional<QString> read(const QString& path);

// Replaces the file atomically with the text as UTF-8; false when that failed, in which case
// the file is left as it was.
bool write(const QString& path, const QString& text);
} // namespace musicxmlfile

} // namespace velmarto
