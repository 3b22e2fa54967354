// Compares a "Best" conversion through Converter with a plain shell script that runs the same
// three engine command lines on the same input files (the prepared MIDI copy, the MusicXML and
// the LilyPond source the conversion left), writing into a folder of its own. Also compares
// lilypond on musicxml2ly's own source with lilypond on the rewritten one, and reports the peak
// memory of velmarto-cli.
//
//   bench_conversion [ROUNDS]

#include "core/conversion/Converter.h"
#include "support/MidiFileBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The conversion's three engine runs with nothing of Velmarto around them: the same programs,
// arguments and input files, only the outputs go to another folder.
QString bareScript(const PlatformProfile& profile, const QString& museScore, const QString& work,
                   const QString& bare) {
    QString environment;
    for (auto entry = profile.museScoreEnvironment.cbegin();
         entry != profile.museScoreEnvironment.cend(); ++entry) {
        environment += entry.key() + u'=' + entry.value() + u' ';
    }
    return u"set -e\n"
           u"mkdir -p '%1'\n"
           u"%2'%3' -o '%1/song.musicxml' '%4/song.mid' >/dev/null 2>&1 || true\n"
           u"'%5' '%4/song.musicxml' -o '%1/song.ly' >/dev/null 2>&1\n"
           u"'%6' -o '%1/song' '%4/song.ly' >/dev/null 2>&1\n"_s.arg(
               bare, environment, museScore, work,
               profile.toolDirectories.first() + u"/musicxml2ly"_s,
               profile.toolDirectories.first() + u"/lilypond"_s);
}

// Seconds lilypond takes to engrave one source into the given output base.
double engravingSeconds(const PlatformProfile& profile, const QString& source,
                        const QString& outputBase) {
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(profile.toolDirectories.first() + u"/lilypond"_s,
                      {u"--silent"_s, u"-o"_s, outputBase, source});
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

qint64 peakResidentKiB(const QStringList& arguments, const QString& workingDirectory) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(VELMARTO_CLI_PATH), arguments);
    process.waitForStarted();
    const QString status = u"/proc/%1/status"_s.arg(process.processId());
    qint64 peak = 0;
    static const QRegularExpression highWaterMark(u"VmHWM:\\s+(\\d+) kB"_s);
    while (!process.waitForFinished(5)) {
        QFile file(status);
        if (file.open(QIODevice::ReadOnly)) {
            const auto match = highWaterMark.match(QString::fromLatin1(file.readAll()));
            if (match.hasMatch()) {
                peak = std::max(peak, match.captured(1).toLongLong());
            }
        }
    }
    return process.exitCode() == 0 ? peak : -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;

    QTemporaryDir scratch;
    const QString midi = scratch.filePath(u"song.mid"_s);
    test::MidiFileBuilder::scale(48).writeTo(midi);

    PlatformProfile profile = PlatformProfile::current();
    profile.temporaryDirectory = scratch.path();
    profile.toolDirectories = {u"/usr/bin"_s};
    const Converter converter(profile);
    const auto museScore = converter.locateMuseScore();
    if (!converter.allReady() || !museScore) {
        std::fprintf(stderr, "bench_conversion: the engines are not installed\n");
        return 1;
    }

    // Warm the caches once for both, then alternate so drift affects both sides alike.
    QList<double> velmarto;
    QList<double> bare;
    QList<double> plain;
    QList<double> rewritten;
    for (int round = -1; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const auto result = converter.convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        const double converterSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (!result) {
            std::fprintf(stderr, "%s\n", qPrintable(describe(result.error())));
            return 1;
        }

        const QString work = QFileInfo(result->pdfURL.toLocalFile()).path();
        const QString bareFolder = scratch.filePath(u"bare-%1"_s.arg(round + 1));
        timer.restart();
        const int status = QProcess::execute(
            u"/bin/sh"_s, {u"-c"_s, bareScript(profile, *museScore, work, bareFolder)});
        const double bareSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (status != 0 || !QFile::exists(bareFolder + u"/song.pdf"_s)) {
            std::fprintf(stderr, "bench_conversion: the bare engine script failed\n");
            return 1;
        }
        // bareFolder/song.ly is musicxml2ly's source as it wrote it; work/song.ly is rewritten.
        const double plainEngraving =
            engravingSeconds(profile, bareFolder + u"/song.ly"_s, bareFolder + u"/plain"_s);
        const double rewrittenEngraving =
            engravingSeconds(profile, work + u"/song.ly"_s, bareFolder + u"/rewritten"_s);
        if (round >= 0) {
            velmarto << converterSeconds;
            bare << bareSeconds;
            plain << plainEngraving;
            rewritten << rewrittenEngraving;
        }
    }

    const double converterMedian = median(velmarto);
    const double bareMedian = median(bare);
    std::printf("rounds: %d (median of each)\n", rounds);
    std::printf("best conversion through Converter: %.3f s\n", converterMedian);
    std::printf("the same three engine runs in sh:  %.3f s\n", bareMedian);
    std::printf("ratio: %.3f (target <= 1.03)\n", converterMedian / bareMedian);
    std::printf("lilypond on musicxml2ly's source: %.3f s, on the rewritten source: %.3f s\n",
                median(plain), median(rewritten));

    const qint64 peakBest =
        peakResidentKiB({u"convert"_s, u"-o"_s, u"best.pdf"_s, midi}, scratch.path());
    const qint64 peakFast =
        peakResidentKiB({u"convert"_s, u"--fast"_s, u"-o"_s, u"fast.pdf"_s, midi}, scratch.path());
    std::printf("velmarto-cli peak resident memory: best %lld KiB, fast %lld KiB\n",
                static_cast<long long>(peakBest), static_cast<long long>(peakFast));
    return 0;
}
