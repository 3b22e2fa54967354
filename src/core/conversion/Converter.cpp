#include "core/conversion/Converter.h"

#include "core/conversion/InputFile.h"
#include "core/conversion/LilyPondEngraving.h"
#include "core/conversion/LilyPondSource.h"
#include "core/conversion/MusicXmlLyrics.h"
#include "core/conversion/MusicXmlPartNames.h"
#include "core/conversion/MusicXmlSanitizer.h"
#include "core/conversion/WorkFileName.h"
#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiPreparation.h"
#include "core/conversion/midi/MidiTiming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <system_error>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// Owner-only: the work files hold the user's music and sit in a folder every local user can list.
std::expected<QString, WorkDirectoryError> makeWorkDirectory(const QString& temporaryDirectory) {
    const QString path =
        temporaryDirectory + u"/midi2sheet-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const auto failure = [&](const std::error_code& error) {
        return std::unexpected(WorkDirectoryError{u"Could not create the folder "_s + path +
                                                  u": "_s +
                                                  QString::fromStdString(error.message())});
    };
    if (!QDir::isAbsolutePath(temporaryDirectory)) {
        return failure(std::make_error_code(std::errc::no_such_file_or_directory));
    }
    const std::filesystem::path root(temporaryDirectory.toStdString());
    std::error_code error;
    if (!std::filesystem::exists(root, error)) {
        std::filesystem::create_directories(root, error);
    }
    if (error) {
        return failure(error);
    }
    if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0) {
        return failure(std::error_code(errno, std::generic_category()));
    }
    return path;
}

bool isPartwiseMusicXml(const QString& path) {
    if (!Converter::isValidOutput(path, 200)) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    // MuseScore reports success for a file it could read no track from, and writes a score
    // without a single part; musicxml2ly and LilyPond would only fail on it later.
    static const QRegularExpression scorePart(u"<score-part[\\s>]"_s);
    return !decoder.hasError() && text.contains(u"score-partwise"_s) && text.contains(scorePart);
}

bool isCancelled(const ConversionLimits& limits) {
    return limits.cancellation && limits.cancellation->isCancelled();
}

// Whether the copy MuseScore reads is a played performance; the preparation has put a sequenced
// file's notes on the grid and quantised a recognised recording already. Nothing when it cannot
// be told, which leaves the choice to MuseScore.
std::optional<bool> isPlayed(const QString& midiPath) {
    QFile file(midiPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const auto midi = MidiFile::parse(file.read(midipreparation::maximumFileSize));
    const auto timing = midi ? MidiTiming::of(*midi) : std::nullopt;
    if (!timing) {
        return std::nullopt;
    }
    return timing->kind == MidiTiming::Kind::played;
}

QString numbers(const QList<int>& tracks) {
    QStringList list;
    for (const int track : tracks) {
        list << QString::number(track);
    }
    return list.join(u", "_s);
}

void enter(const ConversionProgress& progress, ConversionStage stage) {
    if (progress.stageEntered) {
        progress.stageEntered(stage);
    }
}

std::unexpected<ConversionFailure> failed(const QString& stage, const QString& detail) {
    return std::unexpected(ConversionFailure(ConversionError(stage, detail)));
}

// A job file for MuseScore: one import, written to every output in turn. Where QJsonDocument
// escapes the names, no file name can change the job.
std::optional<QString> writeJob(const QString& folder, const QString& input,
                                const QStringList& outputs) {
    const QJsonArray job{QJsonObject{
        {u"in"_s, input},
        {u"out"_s, QJsonArray::fromStringList(outputs)},
    }};
    const QString path = QDir(folder).absoluteFilePath(u"job.json"_s);
    QSaveFile file(path);
    const QByteArray bytes = QJsonDocument(job).toJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return std::nullopt;
    }
    return path;
}

} // namespace

QString describe(const ConversionFailure& failure) {
    return std::visit(
        [](const auto& error) -> QString {
            using Failure = std::decay_t<decltype(error)>;
            if constexpr (std::is_same_v<Failure, ConversionError>) {
                return error.description();
            } else if constexpr (std::is_same_v<Failure, WorkDirectoryError>) {
                return error.description;
            } else {
                return u"Conversion cancelled."_s;
            }
        },
        failure);
}

Converter::Converter(PlatformProfile profile, const QProcessEnvironment& environment)
    : m_profile(std::move(profile))
    , m_locator(m_profile.museScoreCandidates, m_profile.toolDirectories)
    , m_runner(environment, m_profile.temporaryDirectory) {}

std::optional<QString> Converter::locateMuseScore() const {
    return m_locator.locateMuseScore();
}

std::optional<QString> Converter::locate(const QString& name) const {
    return m_locator.locate(name);
}

InstalledEngines Converter::installedEngines() const {
    return m_locator.installedEngines();
}

bool Converter::allReady() const {
    return installedEngines().allReady();
}

bool Converter::isValidOutput(const QString& path, qint64 minBytes) {
    const QFileInfo info(path);
    return info.exists() && info.size() >= minBytes;
}

bool Converter::isCompletePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(5) != "%PDF-") {
        return false;
    }
    const qint64 tail = std::min<qint64>(file.size(), 1024);
    return file.seek(file.size() - tail) && file.read(tail).contains("%%EOF");
}

std::expected<Converter::Workspace, ConversionFailure>
Converter::prepare(const QUrl& midiURL, const ScoreTitle& title,
                   const ImportOptions& import) const {
    const QString midi = midiURL.toLocalFile();
    if (inputfile::existsButIsNotRegular(midi)) {
        return std::unexpected(
            ConversionError(u"Reading the MIDI file"_s, inputfile::notRegularMessage(midi)));
    }
    const auto workDirectory = makeWorkDirectory(m_profile.temporaryDirectory);
    if (!workDirectory) {
        return std::unexpected(workDirectory.error());
    }
    const QString stem = *workDirectory + u'/' + workfilename::baseFor(midi);
    const auto museScore = locateMuseScore();
    if (!museScore) {
        return std::unexpected(
            ConversionError(u"Locating MuseScore"_s, m_profile.museScoreMissingDetail));
    }
    // MuseScore reads every text as UTF-8 and takes the title only from its own MIDI event, so
    // it gets a prepared copy. A file that cannot be parsed goes as it is, for MuseScore to
    // report in its own words.
    const QString titleText = title.textFor(midi);
    const QString preparedMidi = stem + u".mid"_s;
    const auto prepared = midipreparation::prepare(midi, preparedMidi, titleText, import);
    // Chosen tracks can only be left out of a file that could be read; importing every track
    // instead would hand back a score the user did not ask for.
    if (!import.tracks.isEmpty() &&
        (!prepared || import.tracks.first() > prepared->tracksWithNotes)) {
        return std::unexpected(ConversionError(
            u"Reading the MIDI file"_s,
            prepared ? u"The file has %1 tracks with notes; none of the chosen tracks (%2) is "
                       u"among them."_s.arg(prepared->tracksWithNotes)
                           .arg(numbers(import.tracks))
                     : u"The tracks could not be chosen: the file could not be read."_s));
    }
    return Workspace{
        .stem = stem,
        .titleText = titleText,
        .museScore = *museScore,
        .museScoreInput = prepared ? preparedMidi : midi,
        .import = import,
    };
}

std::optional<ConversionFailure> Converter::runEngine(EngineInvocation invocation,
                                                      const ConversionLimits& limits,
                                                      QString& log) const {
    if (isCancelled(limits)) {
        return ConversionCancelled{};
    }
    invocation.cancellation = limits.cancellation;
    invocation.timeout = limits.engineTimeout;
    const auto transcript = m_runner.run(invocation);
    if (transcript) {
        log += *transcript;
        return std::nullopt;
    }
    switch (transcript.error().reason()) {
    case EngineFailure::Reason::cancelled:
        return ConversionCancelled{};
    case EngineFailure::Reason::timedOut:
        return ConversionError(invocation.stage,
                               EngineRunner::timeoutMessage(limits.engineTimeout) + u"\n\n"_s +
                                   log + transcript.error().transcript());
    case EngineFailure::Reason::failed:
        break;
    }
    return ConversionError(transcript.error());
}

std::expected<QString, ConversionFailure>
Converter::writeMuseScoreOptions(const Workspace& workspace,
                                 const MuseScoreImportOptions& options) const {
    const QString folder = QFileInfo(workspace.stem).path();
    const auto path = options.writeInto(folder);
    if (!path) {
        return std::unexpected(ConversionError(
            u"MuseScore import"_s, u"Could not write the import options into "_s + folder + u'.'));
    }
    return *path;
}

// MuseScore's run that writes the draft after the MusicXML. It may still be writing the PDF when
// the conversion goes on; `transcript` waits for its end.
struct Converter::MuseScoreDraft {
    QString pdf;
    std::function<void(const QUrl& pdf)> ready;
    std::future<std::pair<std::optional<ConversionFailure>, QString>> run{};

    // Waits for MuseScore to end and hands over what it printed.
    QString transcript() { return run.valid() ? run.get().second : QString(); }
};

std::optional<ConversionFailure> Converter::importInto(const Workspace& workspace,
                                                       const QString& musicXml,
                                                       const ConversionLimits& limits, QString& log,
                                                       MuseScoreDraft* draft) const {
    // What musicxml2ly cannot translate MuseScore is told not to write: a clef that changes in
    // the middle of a bar, septuplets (whatever tuplets were chosen). Either way the voices of
    // the bar would slip out of it.
    auto chosen = MuseScoreImportOptions::chosen(workspace.import);
    chosen.clefChanges = false;
    chosen.septuplets = false;
    if (!chosen.humanPerformance) {
        chosen.humanPerformance = isPlayed(workspace.museScoreInput);
    }
    const auto options = writeMuseScoreOptions(workspace, chosen);
    if (!options) {
        return options.error();
    }
    std::optional<QString> job;
    if (draft) {
        const QString folder = QFileInfo(musicXml).path();
        job = writeJob(folder, workspace.museScoreInput, {musicXml, draft->pdf});
        if (!job) {
            return ConversionError(u"MuseScore import"_s,
                                   u"Could not write MuseScore's job file into "_s + folder + u'.');
        }
    }
    const EngineInvocation invocation{
        .executable = workspace.museScore,
        .arguments =
            draft ? QStringList{u"-M"_s, *options, u"-j"_s, *job}
                  : QStringList{u"-o"_s, musicXml, u"-M"_s, *options, workspace.museScoreInput},
        .stage = u"MuseScore import"_s,
        .extraEnvironment = m_profile.museScoreEnvironment,
        .failOnNonZeroExit = false,
    };
    if (!draft) {
        if (auto failure = runEngine(invocation, limits, log)) {
            return failure;
        }
    } else {
        draft->run = std::async(std::launch::async,
                                [this, invocation, limits, pdf = draft->pdf, ready = draft->ready] {
                                    QString transcript;
                                    auto failure = runEngine(invocation, limits, transcript);
                                    if (!failure && isCompletePdf(pdf)) {
                                        ready(QUrl::fromLocalFile(pdf));
                                    }
                                    return std::pair(std::move(failure), transcript);
                                });
        // MuseScore writes a job's outputs in their order, so once the PDF is begun the MusicXML
        // is complete and musicxml2ly need not wait for the draft.
        while (draft->run.wait_for(std::chrono::milliseconds(20)) == std::future_status::timeout &&
               !QFileInfo::exists(draft->pdf)) {
        }
        if (draft->run.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            auto [failure, transcript] = draft->run.get();
            log += transcript;
            if (failure) {
                return failure;
            }
        }
    }
    // Text from the MIDI file (track names, lyrics, markers) travels through the MusicXML into
    // the LilyPond source; it is neutralised here, the one place where it enters the pipeline.
    // A document that is not well-formed XML cannot be, and is no valid MusicXML either.
    if (!isPartwiseMusicXml(musicXml) || !musicxmlsanitizer::neutralise(musicXml)) {
        log.prepend(draft ? draft->transcript() : QString());
        return ConversionError(u"MuseScore import"_s,
                               u"MuseScore did not produce valid MusicXML.\n\n"_s + log);
    }
    // Our own steps between the engines look at the cancellation too, so a stop is never held
    // up by them.
    if (isCancelled(limits)) {
        return ConversionCancelled{};
    }
    // A file that cannot be rewritten keeps its repeated lyrics; the score still engraves.
    musicxmllyrics::removeRepeats(musicXml);
    if (isCancelled(limits)) {
        return ConversionCancelled{};
    }
    return std::nullopt;
}

std::expected<ConversionResult, ConversionFailure>
Converter::importMusicXml(const QUrl& midiURL, ConversionLimits limits, const ScoreTitle& title,
                          const ImportOptions& import) const {
    const auto workspace = prepare(midiURL, title, import);
    if (!workspace) {
        return std::unexpected(workspace.error());
    }
    const QString musicXml = workspace->stem + u".musicxml"_s;
    QString log;
    if (const auto failure = importInto(*workspace, musicXml, limits, log)) {
        return std::unexpected(*failure);
    }
    return ConversionResult{.musicXMLURL = QUrl::fromLocalFile(musicXml), .log = log};
}

std::expected<ConversionResult, ConversionFailure>
Converter::convert(const QUrl& midiURL, ConversionEngine engine, const QString& paperSize,
                   ConversionLimits limits, const ScoreTitle& title, const ImportOptions& import,
                   const ConversionProgress& progress) const {
    enter(progress, ConversionStage::importing);
    const auto workspace = prepare(midiURL, title, import);
    if (!workspace) {
        return std::unexpected(workspace.error());
    }
    if (engine == ConversionEngine::museScoreOnly) {
        return engraveWithMuseScore(*workspace, limits, progress);
    }
    return engraveWithLilyPond(*workspace, paperSize, limits, progress);
}

std::expected<ConversionResult, ConversionFailure>
Converter::engraveWithMuseScore(const Workspace& workspace, const ConversionLimits& limits,
                                const ConversionProgress& progress) const {
    const QString pdf = workspace.stem + u".pdf"_s;
    const auto options =
        writeMuseScoreOptions(workspace, MuseScoreImportOptions::chosen(workspace.import));
    if (!options) {
        return std::unexpected(options.error());
    }
    QString log;
    enter(progress, ConversionStage::engraving);
    if (const auto failure = runEngine(
            {
                .executable = workspace.museScore,
                .arguments = {u"-o"_s, pdf, u"-M"_s, *options, workspace.museScoreInput},
                .stage = u"MuseScore conversion"_s,
                .extraEnvironment = m_profile.museScoreEnvironment,
                .failOnNonZeroExit = false,
            },
            limits, log)) {
        return std::unexpected(*failure);
    }
    if (!isValidOutput(pdf, 1000) || !isCompletePdf(pdf)) {
        return failed(u"MuseScore conversion"_s, u"No valid PDF was produced.\n\n"_s + log);
    }
    return ConversionResult{.pdfURL = QUrl::fromLocalFile(pdf), .log = log};
}

std::expected<ConversionResult, ConversionFailure>
Converter::engraveWithLilyPond(const Workspace& workspace, const QString& paperSize,
                               const ConversionLimits& limits,
                               const ConversionProgress& progress) const {
    const QString& stem = workspace.stem;
    const QString pdf = stem + u".pdf"_s;
    const QString musicXml = stem + u".musicxml"_s;
    const QString lilypondSource = stem + u".ly"_s;
    QString log;
    const auto run = [&](EngineInvocation invocation) {
        return runEngine(std::move(invocation), limits, log);
    };

    MuseScoreDraft draft{.pdf = stem + u"-draft.pdf"_s, .ready = progress.draftReady};
    if (const auto failure =
            importInto(workspace, musicXml, limits, log, progress.draftReady ? &draft : nullptr)) {
        return std::unexpected(*failure);
    }
    QStringList names;
    QStringList shortNames;
    for (const auto& part :
         musicxmlpartnames::printNames(musicXml).value_or(QList<musicxmlpartnames::Part>())) {
        names.append(part.name);
        shortNames.append(part.abbreviation);
    }

    const auto musicxml2ly = locate(u"musicxml2ly"_s);
    if (!musicxml2ly) {
        return failed(u"Locating musicxml2ly"_s, m_profile.musicxml2lyMissingDetail);
    }
    enter(progress, ConversionStage::converting);
    const auto converted = run({
        .executable = *musicxml2ly,
        .arguments = {musicXml, u"-o"_s, lilypondSource},
        .stage = u"musicxml2ly"_s,
        .extraEnvironment = m_profile.musicxml2lyEnvironment,
    });
    // MuseScore has written the draft while musicxml2ly ran; its words come first in the log.
    log.prepend(draft.transcript());
    if (converted) {
        return std::unexpected(*converted);
    }
    if (!QFileInfo::exists(lilypondSource)) {
        return failed(u"musicxml2ly"_s, u"No LilyPond source was produced.\n\n"_s + log);
    }
    lilypondsource::rewrite(lilypondSource, paperSize,
                            LilyPondEngraving(workspace.titleText.isEmpty()
                                                  ? std::nullopt
                                                  : std::optional(workspace.titleText),
                                              names, shortNames));
    if (isCancelled(limits)) {
        return std::unexpected(ConversionCancelled{});
    }

    const auto lilypond = locate(u"lilypond"_s);
    if (!lilypond) {
        return failed(u"Locating lilypond"_s, m_profile.lilypondMissingDetail);
    }
    enter(progress, ConversionStage::engraving);
    if (const auto failure = run({
            .executable = *lilypond,
            .arguments = {u"-o"_s, stem, lilypondSource},
            .stage = u"LilyPond engraving"_s,
            .extraPath = m_profile.toolDirectories,
        })) {
        return std::unexpected(*failure);
    }
    if (!isCompletePdf(pdf)) {
        return failed(u"LilyPond engraving"_s, u"No PDF was produced.\n\n"_s + log);
    }
    return ConversionResult{
        .pdfURL = QUrl::fromLocalFile(pdf),
        .musicXMLURL = QUrl::fromLocalFile(musicXml),
        .lilypondURL = QUrl::fromLocalFile(lilypondSource),
        .log = log,
    };
}

} // namespace velmarto
