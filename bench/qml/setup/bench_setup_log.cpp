// Streams 5 MB of installer-like output, in small writes, through a fake installer into a real
// setup screen in an offscreen window. Prints the longest gaps the main thread left between
// frames and between timer ticks meanwhile, and how long the last line took from the installer's
// write to a drawn frame.

#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"
#include "qml/app/ViewLoader.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>
#include <ctime>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;

namespace {

// About 5 MB; a different count may be given as the first argument.
constexpr int defaultLineCount = 52000;
const QString lastLine = u"Velmarto benchmark: last line"_s;

// Stands in for "bash -lc SCRIPT": about 100 bytes a line, one write each, like apt and dpkg,
// then the wall-clock time just before the last line, which gets a write of its own.
QString writeFakeInstaller(const QTemporaryDir& folder, int lineCount) {
    QString path = folder.filePath(u"installer"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write(QStringLiteral("#!/bin/bash\n"
                              "for ((i = 0; i < %1; i++)); do\n"
                              "  printf 'Get:%d http://deb.debian.org/debian bookworm/main amd64 "
                              "libexample%d amd64 1.2.3-4 [123 kB] \\xe2\\x80\\xa6\\n' $i $i\n"
                              "done\n"
                              "sleep 0.5\n"
                              "date +%s%N > '%2'\n"
                              "printf '%3\\n'\n"
                              "sleep 1\n")
                   .arg(lineCount)
                   .arg(folder.filePath(u"last-line-written"_s), lastLine)
                   .toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

qint64 nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const int lineCount = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : defaultLineCount;
    QTemporaryDir folder;

    velmarto::PlatformProfile profile = velmarto::PlatformProfile::freedesktop();
    profile.setup.shell = writeFakeInstaller(folder, lineCount);
    velmarto::EngineStatus status{velmarto::EngineLocator(profile)};
    velmarto::EngineInstaller installer{profile.setup, &status};
    QQuickView view;
    if (!velmarto::loadView(view, u"setup/SetupView.qml"_s,
                            {{u"installer"_s, QVariant::fromValue(&installer)},
                             {u"engines"_s, QVariant::fromValue(&status)}})) {
        return 1;
    }
    view.resize(640, 900);
    view.show();

    QElapsedTimer clock;
    qint64 lastFrame = -1;
    qint64 lastTick = -1;
    qint64 longestFrameGap = 0;
    qint64 longestTickGap = 0;
    int frames = 0;
    int appends = 0;
    bool lastLineAppended = false;
    qint64 lastLineShown = 0;
    QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [&] {
        if (!clock.isValid()) {
            return;
        }
        const qint64 now = clock.elapsed();
        if (lastFrame >= 0) {
            longestFrameGap = std::max(longestFrameGap, now - lastFrame);
        }
        lastFrame = now;
        ++frames;
        if (lastLineAppended && lastLineShown == 0) {
            lastLineShown = nanoseconds(CLOCK_REALTIME);
        }
    });
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick >= 0) {
            longestTickGap = std::max(longestTickGap, now - lastTick);
        }
        lastTick = now;
    });
    QObject::connect(&installer, &velmarto::EngineInstaller::outputAppended, &installer,
                     [&](const QString& text) {
                         ++appends;
                         if (text.contains(lastLine)) {
                             lastLineAppended = true;
                         }
                     });
    QObject::connect(&installer, &velmarto::EngineInstaller::finishedChanged, &application,
                     &QCoreApplication::quit);

    qint64 cpuAtStart = 0;
    QTimer::singleShot(500, &installer, [&] {
        cpuAtStart = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
        clock.start();
        ticker.start();
        installer.installMissing();
    });
    application.exec();
    const qint64 cpu = nanoseconds(CLOCK_THREAD_CPUTIME_ID) - cpuAtStart;

    QFile written(folder.filePath(u"last-line-written"_s));
    const qint64 lastLineWritten =
        written.open(QIODevice::ReadOnly) ? written.readAll().trimmed().toLongLong() : 0;
    std::printf("output: %lld bytes of text in %d appends, %lld ms from start to end\n",
                static_cast<long long>(installer.output().toUtf8().size()), appends,
                static_cast<long long>(clock.elapsed()));
    std::printf("main thread busy (CPU time): %lld ms\n", static_cast<long long>(cpu / 1000000));
    std::printf("frames drawn meanwhile: %d\n", frames);
    std::printf("longest gap between frames: %lld ms (target <= 50 ms)\n",
                static_cast<long long>(longestFrameGap));
    std::printf("longest gap between 5 ms timer ticks: %lld ms (target <= 50 ms)\n",
                static_cast<long long>(longestTickGap));
    std::printf("last line, from the installer's write to a drawn frame: %.1f ms\n",
                lastLineShown > 0 && lastLineWritten > 0
                    ? double(lastLineShown - lastLineWritten) / 1e6
                    : -1.0);
    return 0;
}
