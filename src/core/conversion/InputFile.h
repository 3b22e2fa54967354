#pragma once

#include <QByteArray>
#include <QString>

#include <expected>

// The MIDI file the user named is opened only as a regular file: opening a FIFO or a device
// blocks until someone else writes to it, in a step no cancellation can reach.
namespace velmarto::inputfile {

// Whether path names something that is there but is not a regular file (through any links): a
// folder, a FIFO, a device, a socket. Found without opening it; a missing path is not such a
// thing, so its own error can follow.
[[nodiscard]] bool existsButIsNotRegular(const QString& path);

// The sentence the user sees for a path that names something else: "NAME is not a regular file."
[[nodiscard]] QString notRegularMessage(const QString& path);

// The file's bytes, read through a descriptor that never blocks on opening and is checked to be
// a regular file before anything is read; at most maximumBytes + 1 of them, so the caller can
// tell a file that is too large. On failure, the reason in words.
[[nodiscard]] std::expected<QByteArray, QString> read(const QString& path, qint64 maximumBytes);

} // namespace velmarto::inputfile
