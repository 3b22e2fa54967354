#pragma once

#include <QString>

#include <expected>

namespace velmarto {

// Copies a file over a destination the way a save does: the new copy is written beside the
// destination and renamed over its name only once complete, so a failed copy never costs the user
// the file that was there. The rename replaces the name itself: a link planted at the destination
// is replaced by the copy, and whatever it pointed to is never written. Copying a file onto itself
// succeeds without touching it.
namespace filereplacement {

// Whether a copy could be saved under destination, without writing anything: it must not be a
// folder or a device, FIFO or socket, and its folder must exist and be writable. On failure,
// a sentence that names the problem.
[[nodiscard]] std::expected<void, QString> checkDestination(const QString& destination);

// On failure, the system's description of what went wrong.
[[nodiscard]] std::expected<void, QString> copy(const QString& source, const QString& destination);

} // namespace filereplacement

} // namespace velmarto
