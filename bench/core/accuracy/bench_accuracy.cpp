// Scores Velmarto's MIDI import against MuseScore's plain import with the MV2H metric, on the
// ASAP pieces in ../shared/accuracy: for every piece, the live performance and the quantised
// score go through both importers to MusicXML, and each result is compared with the hand-engraved
// score. MV2H is built from its Java source into a cache folder beside this program, which also
// keeps the ground truths' conversions and each result under a hash of the MIDI bytes MuseScore
// read, between runs (delete it to redo them).
//
//   bench_accuracy [JOBS] [ACCURACY_FOLDER]

#include "core/conversion/Converter.h"
#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiPreparation.h"
#include "core/conversion/midi/Performance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

constexpr std::array componentNames{"Multi-pitch", "Voice", "Meter", "Value", "Harmony", "MV2H"};
using Scores = std::array<double, componentNames.size()>;

enum class Input { live, score };
enum class Importer { museScore, velmarto };

struct Piece {
    QString name;
    QString live;
    QString score;
    QString groundTruth;
};

struct Evaluation {
    qsizetype piece = 0;
    Input input = Input::live;
    Importer importer = Importer::museScore;
    std::optional<Scores> scores{};
    QString failure{};
};

// Runs a program to its end; false (with its output in the failure text) when it fails.
bool runProgram(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, QString* output = nullptr,
                QString* failure = nullptr) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(30 * 60 * 1000);
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    if (output) {
        *output = text;
    }
    const bool succeeded =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!succeeded && failure) {
        *failure = QFileInfo(program).fileName() + u' ' + arguments.join(u' ') + u": "_s +
                   QString::fromUtf8(process.readAllStandardError()).left(300);
    }
    return succeeded;
}

class Mv2h {
public:
    Mv2h(QString classes, QString museScore, const QProcessEnvironment& environment)
        : m_classes(std::move(classes))
        , m_museScore(std::move(museScore))
        , m_environment(environment) {}

    static bool build(const QString& sources, const QString& classes) {
        if (QFileInfo::exists(classes + u"/mv2h/Main.class"_s)) {
            return true;
        }
        QStringList files;
        QDirIterator walk(sources, {u"*.java"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            files << walk.next();
        }
        QString failure;
        const bool built =
            runProgram(u"javac"_s, QStringList{u"-d"_s, classes, u"-cp"_s, sources} + files,
                       QProcessEnvironment::systemEnvironment(), nullptr, &failure);
        if (!built) {
            std::fprintf(stderr, "Could not build MV2H: %s\n", qPrintable(failure));
        }
        return built;
    }

    // MV2H reads notes from MIDI, so a score goes through MuseScore's MIDI export, the same way
    // for the ground truth and the transcription.
    bool notesOf(const QString& musicXml, const QString& notes, QString& failure) const {
        const QString midi = notes + u".mid"_s;
        return runProgram(m_museScore, {u"-o"_s, midi, musicXml}, m_environment, nullptr,
                          &failure) &&
               runProgram(
                   u"java"_s,
                   {u"-cp"_s, m_classes, u"mv2h.tools.Converter"_s, u"-i"_s, midi, u"-o"_s, notes},
                   m_environment, nullptr, &failure);
    }

    // MV2H's report on the transcription.
    std::optional<QString> compare(const QString& groundTruth, const QString& transcription,
                                   QString& failure) const {
        QString output;
        if (!runProgram(u"java"_s,
                        {u"-cp"_s, m_classes, u"mv2h.Main"_s, u"-g"_s, groundTruth, u"-t"_s,
                         transcription, u"-a"_s},
                        m_environment, &output, &failure)) {
            return std::nullopt;
        }
        return output;
    }

    static std::optional<Scores> parse(const QString& output, QString& failure) {
        Scores scores{};
        for (size_t index = 0; index < componentNames.size(); ++index) {
            const QString prefix = QString::fromLatin1(componentNames.at(index)) + u": "_s;
            const qsizetype at = output.indexOf(prefix);
            if (at < 0) {
                failure = u"MV2H printed no "_s + prefix + output.left(200);
                return std::nullopt;
            }
            scores.at(index) = output.mid(at + prefix.size()).section(u'\n', 0, 0).toDouble();
        }
        return scores;
    }

private:
    QString m_classes;
    QString m_museScore;
    QProcessEnvironment m_environment;
};

// Runs the jobs on a few threads; each job writes only its own result.
void runInParallel(int threads, size_t count, const std::function<void(size_t)>& job) {
    std::atomic<size_t> next{0};
    std::vector<std::jthread> workers;
    workers.reserve(static_cast<size_t>(threads));
    for (int thread = 0; thread < threads; ++thread) {
        workers.emplace_back([&] {
            for (size_t index = next++; index < count; index = next++) {
                job(index);
            }
        });
    }
}

QList<Piece> readPieces(const QString& root) {
    QFile list(root + u"/asap-dev/pieces.txt"_s);
    QList<Piece> pieces;
    if (!list.open(QIODevice::ReadOnly)) {
        return pieces;
    }
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed());
        if (name.isEmpty()) {
            continue;
        }
        const QDir folder(root + u"/asap-dev/"_s + name);
        QStringList live = folder.entryList({u"*.mid"_s}, QDir::Files, QDir::Name);
        live.removeAll(u"midi_score.mid"_s);
        if (live.isEmpty() || !folder.exists(u"midi_score.mid"_s)) {
            std::fprintf(stderr, "%s: no performance or no MIDI score, left out\n",
                         qPrintable(name));
            continue;
        }
        pieces.append({name, folder.filePath(live.first()), folder.filePath(u"midi_score.mid"_s),
                       folder.filePath(u"xml_score.musicxml"_s)});
    }
    return pieces;
}

// Seconds our own MIDI preparation takes on the file (best of three, so the other sessions on
// the machine count as little as possible), and the file's length in seconds.
std::pair<double, double> ownStepsAndLength(const QString& midi) {
    QFile file(midi);
    if (!file.open(QIODevice::ReadOnly)) {
        return {0, 0};
    }
    const QByteArray bytes = file.readAll();
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        const auto prepared = midipreparation::prepared(bytes, QString());
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
        Q_UNUSED(prepared);
    }
    const auto parsed = MidiFile::parse(bytes);
    const auto performance = parsed ? Performance::read(*parsed) : std::nullopt;
    return {best, performance ? performance->length() : 0};
}

// What MuseScore reads for this file through Velmarto is the prepared copy, without a title.
QString museScoreInputHash(const QString& midi, bool prepared) {
    QFile file(midi);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray original = file.readAll();
    const auto copy = prepared ? midipreparation::prepared(original, QString()) : std::nullopt;
    const QByteArray read = copy ? copy->bytes : original;
    return QString::fromLatin1(QCryptographicHash::hash(read, QCryptographicHash::Sha1).toHex());
}

QString formatScores(const Scores& scores) {
    QString text;
    for (const double value : scores) {
        text += u"  %1"_s.arg(value, 6, 'f', 3);
    }
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int jobs = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : 2;
    const QString root =
        arguments.size() > 2 ? arguments.at(2) : QStringLiteral(VELMARTO_ACCURACY_DIR);
    if (!QFileInfo::exists(root + u"/asap-dev/pieces.txt"_s) ||
        !QFileInfo::exists(root + u"/mv2h/src"_s)) {
        std::printf("Skipped: no ASAP pieces and MV2H source in %s\n", qPrintable(root));
        return 0;
    }
    const QList<Piece> pieces = readPieces(root);
    const QString cache = app.applicationDirPath() + u"/accuracy-cache"_s;
    QDir().mkpath(cache + u"/ground-truth"_s);
    QDir().mkpath(cache + u"/results"_s);
    if (!Mv2h::build(root + u"/mv2h/src"_s, cache + u"/mv2h-classes"_s)) {
        return 1;
    }

    const Converter converter;
    const auto museScore = converter.locateMuseScore();
    if (!museScore) {
        std::fprintf(stderr, "MuseScore is not installed\n");
        return 1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto entry = converter.profile().museScoreEnvironment.cbegin();
         entry != converter.profile().museScoreEnvironment.cend(); ++entry) {
        environment.insert(entry.key(), entry.value());
    }
    const Mv2h mv2h(cache + u"/mv2h-classes"_s, *museScore, environment);
    QTemporaryDir scratch;

    const auto groundTruthNotes = [&](const Piece& piece) -> QString {
        return cache + u"/ground-truth/"_s + QString(piece.name).replace(u'/', u'_') + u".txt"_s;
    };
    QElapsedTimer wall;
    wall.start();
    runInParallel(jobs, size_t(pieces.size()), [&](size_t index) {
        const Piece& piece = pieces.at(qsizetype(index));
        QString failure;
        if (!QFileInfo::exists(groundTruthNotes(piece)) &&
            !mv2h.notesOf(piece.groundTruth, groundTruthNotes(piece), failure)) {
            std::fprintf(stderr, "%s: ground truth: %s\n", qPrintable(piece.name),
                         qPrintable(failure));
        }
    });

    std::vector<Evaluation> evaluations;
    for (qsizetype piece = 0; piece < pieces.size(); ++piece) {
        for (const Input input : {Input::live, Input::score}) {
            for (const Importer importer : {Importer::museScore, Importer::velmarto}) {
                evaluations.push_back({.piece = piece, .input = input, .importer = importer});
            }
        }
    }
    runInParallel(jobs, evaluations.size(), [&](size_t index) {
        Evaluation& evaluation = evaluations.at(index);
        const Piece& piece = pieces.at(evaluation.piece);
        const QString midi = evaluation.input == Input::live ? piece.live : piece.score;
        const QString base = scratch.filePath(QString::number(index));
        // The same MIDI bytes give MuseScore the same score: a result is kept under a hash of
        // what MuseScore reads, so a run after a change redoes only the inputs it changed.
        const QString kept =
            cache + u"/results/"_s +
            (evaluation.importer == Importer::museScore ? u"musescore-"_s : u"velmarto-"_s) +
            museScoreInputHash(midi, evaluation.importer == Importer::velmarto) + u".txt"_s;
        if (QFile file(kept); file.open(QIODevice::ReadOnly)) {
            evaluation.scores = Mv2h::parse(QString::fromUtf8(file.readAll()), evaluation.failure);
            if (evaluation.scores) {
                return;
            }
        }
        QString musicXml = base + u".musicxml"_s;
        if (evaluation.importer == Importer::museScore) {
            if (!runProgram(*museScore, {u"-o"_s, musicXml, midi}, environment, nullptr,
                            &evaluation.failure)) {
                return;
            }
        } else {
            const auto imported =
                converter.importMusicXml(QUrl::fromLocalFile(midi), {}, ScoreTitle::none());
            if (!imported) {
                evaluation.failure = describe(imported.error()).left(300);
                return;
            }
            musicXml = imported->musicXMLURL->toLocalFile();
        }
        if (!QFileInfo::exists(groundTruthNotes(piece))) {
            evaluation.failure = u"no ground truth"_s;
            return;
        }
        const QString notes = base + u".txt"_s;
        if (!mv2h.notesOf(musicXml, notes, evaluation.failure)) {
            return;
        }
        const auto output = mv2h.compare(groundTruthNotes(piece), notes, evaluation.failure);
        evaluation.scores = output ? Mv2h::parse(*output, evaluation.failure) : std::nullopt;
        if (evaluation.scores) {
            QFile file(kept);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(output->toUtf8());
            }
        }
    });

    std::printf("%-40s %-5s %-9s", "piece", "input", "import");
    for (const char* name : componentNames) {
        std::printf("  %6.6s", name);
    }
    std::printf("\n");
    for (const Evaluation& evaluation : evaluations) {
        std::printf("%-40s %-5s %-9s", qPrintable(pieces.at(evaluation.piece).name),
                    evaluation.input == Input::live ? "live" : "score",
                    evaluation.importer == Importer::museScore ? "MuseScore" : "Velmarto");
        if (evaluation.scores) {
            std::printf("%s\n", qPrintable(formatScores(*evaluation.scores)));
        } else {
            std::printf("  failed: %s\n", qPrintable(evaluation.failure.simplified()));
        }
    }

    std::printf("\nMeans over the pieces that both importers scored:\n");
    std::printf("%-5s %-9s %6s", "input", "import", "pieces");
    for (const char* name : componentNames) {
        std::printf("  %6.6s", name);
    }
    std::printf("\n");
    for (const Input input : {Input::live, Input::score}) {
        for (const Importer importer : {Importer::museScore, Importer::velmarto}) {
            Scores sums{};
            int counted = 0;
            for (qsizetype piece = 0; piece < pieces.size(); ++piece) {
                const auto scoresOf = [&](Importer which) -> std::optional<Scores> {
                    for (const Evaluation& evaluation : evaluations) {
                        if (evaluation.piece == piece && evaluation.input == input &&
                            evaluation.importer == which) {
                            return evaluation.scores;
                        }
                    }
                    return std::nullopt;
                };
                const auto mine = scoresOf(importer);
                const auto other = scoresOf(importer == Importer::museScore ? Importer::velmarto
                                                                            : Importer::museScore);
                if (mine && other) {
                    for (size_t component = 0; component < sums.size(); ++component) {
                        sums.at(component) += mine->at(component);
                    }
                    ++counted;
                }
            }
            for (double& sum : sums) {
                sum /= std::max(1, counted);
            }
            std::printf("%-5s %-9s %6d%s\n", input == Input::live ? "live" : "score",
                        importer == Importer::museScore ? "MuseScore" : "Velmarto", counted,
                        qPrintable(formatScores(sums)));
        }
    }

    // In non-aligned mode MV2H does not give a perfect transcription full marks (its meter
    // component stays near two thirds), so each ground truth scored against itself shows how
    // far the figures above can rise.
    Scores ceiling{};
    int ceilingPieces = 0;
    for (const Piece& piece : pieces) {
        QString failure;
        const auto output = mv2h.compare(groundTruthNotes(piece), groundTruthNotes(piece), failure);
        const auto scores = output ? Mv2h::parse(*output, failure) : std::nullopt;
        if (!scores) {
            continue;
        }
        for (size_t component = 0; component < ceiling.size(); ++component) {
            ceiling.at(component) += scores->at(component);
        }
        ++ceilingPieces;
    }
    for (double& sum : ceiling) {
        sum /= std::max(1, ceilingPieces);
    }
    std::printf("%-15s %6d%s\n", "ground truth", ceilingPieces, qPrintable(formatScores(ceiling)));

    double ownSeconds = 0;
    double musicSeconds = 0;
    double worstPerMinute = 0;
    QString worstPiece;
    for (const Piece& piece : pieces) {
        for (const QString& midi : {piece.live, piece.score}) {
            const auto [seconds, length] = ownStepsAndLength(midi);
            ownSeconds += seconds;
            musicSeconds += length;
            const double perMinute = length > 0 ? seconds / (length / 60) : 0;
            if (perMinute > worstPerMinute) {
                worstPerMinute = perMinute;
                worstPiece = QFileInfo(midi).fileName() + u" of "_s + piece.name;
            }
        }
    }
    std::printf("\nOur own MIDI steps: %.3f s for %.1f minutes of music, %.4f s per minute "
                "(slowest: %.4f s per minute, %s)\n",
                ownSeconds, musicSeconds / 60,
                musicSeconds > 0 ? ownSeconds / (musicSeconds / 60) : 0, worstPerMinute,
                qPrintable(worstPiece));
    std::printf("Whole run: %.0f s with %d jobs\n", double(wall.elapsed()) / 1000, jobs);
    return 0;
}
