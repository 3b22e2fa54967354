#include "core/platform/FileRevealer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace velmarto {

using namespace Qt::StringLiterals;

FileRevealer::FileRevealer(PlatformProfile profile, QString busConnectionName, QString service,
                           QObject* parent)
    : QObject(parent)
    , m_profile(std::move(profile))
    , m_busConnectionName(std::move(busConnectionName))
    , m_service(std::move(service)) {}

void FileRevealer::reveal(const QString& path, const std::function<void()>& onFailure) {
    if (m_profile.kind == PlatformProfile::Kind::macOS) {
        runRevealProgram({u"-R"_s, path}, onFailure);
        return;
    }
    askFileManager(path, onFailure);
}

void FileRevealer::askFileManager(const QString& path, const std::function<void()>& onFailure) {
    const QDBusConnection bus = m_busConnectionName.isEmpty()
                                    ? QDBusConnection::sessionBus()
                                    : QDBusConnection(m_busConnectionName);
    const QStringList folderFallback{QFileInfo(path).absolutePath()};
    if (!bus.isConnected()) {
        runRevealProgram(folderFallback, onFailure);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_service, u"/org/freedesktop/FileManager1"_s,
                                       u"org.freedesktop.FileManager1"_s, u"ShowItems"_s);
    // File managers parse the items as URIs, so spaces and the like must arrive escaped.
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, path, folderFallback, onFailure] {
                watcher->deleteLater();
                if (watcher->isError()) {
                    runRevealProgram(folderFallback, onFailure);
                } else {
                    emit revealedThroughFileManager(path);
                }
            });
}

void FileRevealer::runRevealProgram(const QStringList& arguments,
                                    const std::function<void()>& onFailure) {
    // Started but not detached: xdg-open answers with its exit status (3 when the desktop has no
    // way to open a folder), and that failure must reach the user. Nothing waits for it, and its
    // output goes nowhere, so a file manager it keeps in the foreground can never block on a pipe.
    auto* process = new QProcess(this);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const auto fail = [process, onFailure] {
        process->deleteLater();
        if (onFailure) {
            onFailure();
        }
    };
    connect(process, &QProcess::errorOccurred, this, [fail](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            fail();
        }
    });
    connect(process, &QProcess::finished, this,
            [process, fail](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0) {
                    fail();
                } else {
                    process->deleteLater();
                }
            });
    connect(process, &QProcess::started, this,
            [this, arguments] { emit revealedThroughProgram(m_profile.revealProgram, arguments); });
    process->start(m_profile.revealProgram, arguments);
}

} // namespace velmarto
