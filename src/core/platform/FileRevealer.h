#pragma once

#include "core/platform/PlatformProfile.h"

#include <QObject>
#include <QString>

#include <functional>

namespace velmarto {

// Shows a file selected in the platform's file manager. macOS runs "open -R"; a freedesktop
// desktop is asked over D-Bus to show the item and, when no file manager answers, the folder that
// holds the file is opened instead. Nothing waits for the file manager, so the caller's thread is
// never held up. When neither way works (the program cannot start, or it exits with a failure, as
// xdg-open does on a desktop with nothing to open folders), the caller hears of it.
class FileRevealer : public QObject {
    Q_OBJECT

public:
    static inline const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");

    // busConnectionName names a connection already opened with QDBusConnection::connectToBus;
    // empty means the session bus.
    explicit FileRevealer(PlatformProfile profile, QString busConnectionName = {},
                          QString service = fileManagerService, QObject* parent = nullptr);

    // onFailure runs on this object's thread, possibly after reveal has returned.
    void reveal(const QString& path, const std::function<void()>& onFailure = {});

signals:
    // Tells tests and callers which way the reveal finally went.
    void revealedThroughFileManager(const QString& path);
    void revealedThroughProgram(const QString& program, const QStringList& arguments);

private:
    void askFileManager(const QString& path, const std::function<void()>& onFailure);
    void runRevealProgram(const QStringList& arguments, const std::function<void()>& onFailure);

    PlatformProfile m_profile;
    QString m_busConnectionName;
    QString m_service;
};

} // namespace velmarto
