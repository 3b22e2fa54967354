#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace velmarto::test {

// What the file at `path` holds; empty when it cannot be read, which the caller's comparison
// then reports.
inline QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace velmarto::test
