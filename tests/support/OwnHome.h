#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

namespace velmarto::test {

// A home of the test's own, made before the window: the file and folder dialogs open in its
// Documents, which holds a Scores folder to move into.
struct OwnHome {
    QTemporaryDir home;

    OwnHome() {
        qputenv("HOME", home.path().toUtf8());
        QDir(home.path()).mkpath(QStringLiteral("Documents/Scores"));
    }
};

} // namespace velmarto::test
