// Converts the same batch of eight song-sized MIDI files with velmarto-cli -j 1 and -j 2, in the
// same run, and reports the throughput ratio. The load average is printed with the figures: on a
// machine that other work keeps busy, two jobs cannot get two cores.
//
//   bench_parallel_batch [ROUNDS]

#include "support/MidiFileBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using velmarto::test::MidiFileBuilder;

namespace {

constexpr int songs = 8;

// A melody over a bass line, as a short song would have.
MidiFileBuilder song(int bars) {
    MidiFileBuilder builder = MidiFileBuilder::scale(bars);
    QList<MidiFileBuilder::Note> bass;
    static constexpr int roots[] = {36, 41, 43, 36};
    for (int bar = 0; bar < bars; ++bar) {
        bass << MidiFileBuilder::Note{roots[bar % 4], 960}
             << MidiFileBuilder::Note{roots[bar % 4] + 7, 960};
    }
    builder.track(u"Bass"_s, bass, 1);
    return builder;
}

QString loadAverage() {
    QFile file(u"/proc/loadavg"_s);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readLine()).section(u' ', 0, 2)
                                          : u"?"_s;
}

// Seconds for one batch, or a negative number when the batch failed.
double convertBatch(const QStringList& files, int jobs, const QString& outputFolder) {
    QDir(outputFolder).removeRecursively();
    QDir().mkpath(outputFolder);
    QProcess process;
    process.setWorkingDirectory(outputFolder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(VELMARTO_CLI_PATH),
                  QStringList{u"convert"_s, u"-j"_s, QString::number(jobs)} + files);
    process.waitForFinished(-1);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const bool allWritten = std::ranges::all_of(files, [&](const QString& file) {
        return QFile::exists(
            QDir(outputFolder).filePath(QFileInfo(file).completeBaseName() + u".pdf"_s));
    });
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && allWritten
               ? seconds
               : -1.0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1;

    QTemporaryDir scratch;
    QStringList files;
    for (int index = 0; index < songs; ++index) {
        const QString path = scratch.filePath(u"song-%1.mid"_s.arg(index + 1));
        if (!song(40 + 4 * index).writeTo(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        files << path;
    }

    std::printf("%d files of 40 to 68 bars, two tracks, \"Best\"; load average before: %s\n", songs,
                qPrintable(loadAverage()));
    double oneJob = 0;
    double twoJobs = 0;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first, so that a warming cache favours neither.
        const bool serialFirst = round % 2 == 0;
        const double first = convertBatch(files, serialFirst ? 1 : 2, scratch.filePath(u"out"_s));
        const double second = convertBatch(files, serialFirst ? 2 : 1, scratch.filePath(u"out"_s));
        if (first < 0 || second < 0) {
            std::fprintf(stderr, "a batch failed\n");
            return 1;
        }
        const double serial = serialFirst ? first : second;
        const double parallel = serialFirst ? second : first;
        std::printf("round %d: -j 1 %.2f s, -j 2 %.2f s, ratio %.2f\n", round + 1, serial, parallel,
                    serial / parallel);
        oneJob += serial;
        twoJobs += parallel;
    }
    std::printf("total: -j 1 %.2f s, -j 2 %.2f s, throughput ratio %.2f (target >= 1.8 on 2 "
                "cores); load average after: %s\n",
                oneJob, twoJobs, oneJob / twoJobs, qPrintable(loadAverage()));
    return 0;
}
