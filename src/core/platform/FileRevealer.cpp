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
    // The file manager outlives this call and is never waited for or stopped.
    if (!QProcess::startDetached(m_profile.revealProgram, arguments)) {
        if (onFailure) {
            onFailure();
        }
        return;
    }
    emit revealedThroughProgram(m_profile.revealProgram, arguments);
}

} // namespace velmarto
