#pragma once

#include <QString>

#include <expected>

namespace velmarto {

// Copies a file over a destination the way a save does: the new copy is written beside the
// destination and renamed over it only once complete, so a failed copy never costs the user the
// file that was there. Copying a file onto itself succeeds without touching it.
class FileReplacement {
public:
    // On failure, the system's description of what went wrong.
    static std::expected<void, QString> copy(const QString& source, const QString& destination);
};

} // namespace velmarto
