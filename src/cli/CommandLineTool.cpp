#include "cli/CommandLineTool.h"

#include "cli/OutputCheck.h"
#include "cli/ParallelBatch.h"
#include "core/conversion/InputFile.h"
#include "core/platform/FileReplacement.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <chrono>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

const QString generalHelp = uR"(Usage: %1 COMMAND [OPTIONS]
Turn MIDI files into engraved sheet music.

Commands:
  convert [OPTIONS] FILE.mid...   convert each file to a PDF (or MusicXML), several at once
  engines                         show which engines are installed and where

Options:
  -h, --help      show this help (also after a command)
  -v, --version   show the version

Exit status: 0 success, 1 a conversion failed, 2 a usage error.
)"_s;

// QCommandLineParser names the whole executable path and not the command in its usage line.
QString helpWithUsage(const QCommandLineParser& parser, const QString& usage) {
    QString help = parser.helpText();
    const qsizetype endOfFirstLine = help.indexOf(u'\n');
    return help.replace(0, endOfFirstLine, u"Usage: "_s + usage);
}

QString outputPathIn(const QString& directory, const QString& fileName) {
    return QDir(directory).absoluteFilePath(fileName);
}

// The window offers only MIDI files; anything else (a MusicXML file above all) would reach the
// engines by a path the conversion does not guard.
bool isMidiFile(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == u"mid"_s || suffix == u"midi"_s;
}

// Paper sizes of LilyPond's paper table that are in common use; the names are LilyPond's own.
const QStringList paperSizes = {
    u"a3"_s,     u"a4"_s,    u"a5"_s,      u"a6"_s,     u"b4"_s,        u"b5"_s,
    u"letter"_s, u"legal"_s, u"tabloid"_s, u"ledger"_s, u"executive"_s,
};

// Help without "--help-all": these commands have no Qt options worth listing.
QCommandLineOption helpOption() {
    return QCommandLineOption(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
}

// The output's extension chooses the format: MusicXML skips the engraving.
bool namesMusicXml(const QString& output) {
    const QString suffix = QFileInfo(output).suffix().toLower();
    return suffix == u"musicxml"_s || suffix == u"xml"_s;
}

// Text that came from outside (file names, engine output) is printed with its control
// characters spelled out, so that nothing in it can move the cursor, erase lines or retitle the
// terminal. Line breaks and tabs of engine output stay, unless the text is one name.
enum class LineBreaks { keep, escape };
QString terminalSafe(const QString& text, LineBreaks lineBreaks = LineBreaks::escape) {
    QString safe;
    safe.reserve(text.size());
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        const bool isLayout = code == u'\n' || code == u'\t';
        const bool isControl = code < 0x20 || (code >= 0x7f && code <= 0x9f);
        if (isControl && !(isLayout && lineBreaks == LineBreaks::keep)) {
            safe += u"\\x"_s + QString::number(code, 16).rightJustified(2, u'0');
        } else {
            safe += character;
        }
    }
    return safe;
}

QString pdfNameFor(const QString& file) {
    const QString base = QFileInfo(file).completeBaseName();
    return (base.isEmpty() ? u"score"_s : base) + u".pdf"_s;
}

} // namespace

CommandLineTool::ConvertOptions CommandLineTool::declareConvertOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(u"Convert MIDI files to PDF sheet music."_s);
    parser.addOption(helpOption());
    const int cores = std::max(1, QThread::idealThreadCount());
    ConvertOptions options{
        .fast = QCommandLineOption(u"fast"_s,
                                   u"Let MuseScore write the PDF directly (quicker, plainer)."_s),
        .paper = QCommandLineOption(
            u"paper"_s,
            u"LilyPond paper size, any case: %1 (default: letter)."_s.arg(paperSizes.join(u", "_s)),
            u"NAME"_s, u"letter"_s),
        .output = QCommandLineOption(
            QStringList{u"o"_s, u"output"_s},
            u"Where to write the result (one input file only); a name ending in .musicxml or "
            u".xml writes only the MusicXML, without engraving."_s,
            u"OUT.pdf"_s),
        .musicXml = QCommandLineOption(
            u"musicxml"_s, u"Also save the MusicXML (one input file only)."_s, u"OUT.musicxml"_s),
        .log = QCommandLineOption(u"log"_s, u"Print the engines' transcripts."_s),
        .timeout = QCommandLineOption(
            u"timeout"_s, u"Stop an engine that runs longer than SECONDS and fail its file."_s,
            u"SECONDS"_s),
        .jobs = QCommandLineOption(
            QStringList{u"j"_s, u"jobs"_s},
            u"Convert up to N files at once (default: %1, the number of cores)."_s.arg(cores),
            u"N"_s, QString::number(cores)),
        .title = QCommandLineOption(u"title"_s,
                                    u"The score's title (default: the song's name in the file, "
                                    u"else made from the file's name)."_s,
                                    u"TEXT"_s),
        .noTitle = QCommandLineOption(u"no-title"_s, u"Engrave the score without a title."_s),
        .import = {},
    };
    for (const importoptions::Option& option : importoptions::all()) {
        options.import.append(QCommandLineOption(option.name, option.summary, option.syntax));
    }
    parser.addOptions({options.fast, options.paper, options.output, options.musicXml, options.log,
                       options.timeout, options.jobs, options.title, options.noTitle});
    parser.addOptions(options.import);
    parser.addPositionalArgument(u"FILE.mid"_s,
                                 u"The MIDI files; their results are reported in this order."_s,
                                 u"FILE.mid..."_s);
    return options;
}

CommandLineTool::CommandLineTool(Converter converter, QTextStream& out, QTextStream& err,
                                 const CancellationToken* cancellation)
    : m_converter(std::move(converter))
    , m_out(out)
    , m_err(err)
    , m_cancellation(cancellation) {}

int CommandLineTool::usage(const QString& message) {
    m_err << m_program << u": "_s << terminalSafe(message) << u'\n' << u"Try '"_s << m_program
          << u" --help' for more information.\n"_s;
    m_err.flush();
    return usageError;
}

int CommandLineTool::run(const QStringList& arguments) {
    m_program = arguments.isEmpty() ? u"velmarto-cli"_s : QFileInfo(arguments.first()).fileName();
    const QStringList rest = arguments.mid(1);
    if (rest.isEmpty()) {
        return usage(u"missing command"_s);
    }
    const QString& command = rest.first();
    if (command == u"-h"_s || command == u"--help"_s) {
        m_out << generalHelp.arg(m_program);
        return success;
    }
    if (command == u"-v"_s || command == u"--version"_s) {
        m_out << m_program << u' ' << QStringLiteral(VELMARTO_VERSION) << u'\n';
        return success;
    }
    if (command == u"convert"_s) {
        return convert(rest);
    }
    if (command == u"engines"_s) {
        return engines(rest);
    }
    if (command.startsWith(u'-')) {
        return usage(u"unrecognized option '%1'"_s.arg(command));
    }
    return usage(u"unknown command '%1'"_s.arg(command));
}

int CommandLineTool::engines(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Show which engines are installed and where."_s);
    parser.addOption(helpOption());
    if (!parser.parse(arguments)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(u"help"_s)) {
        m_out << helpWithUsage(parser, m_program + u" engines"_s);
        return success;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usage(u"engines takes no arguments"_s);
    }
    const auto row = [this](const QString& name, const std::optional<QString>& path) {
        m_out << name.leftJustified(13) << (path ? u"found    "_s : u"missing  "_s)
              << path.value_or(u"-"_s) << u'\n';
    };
    row(u"MuseScore"_s, m_converter.locateMuseScore());
    row(u"musicxml2ly"_s, m_converter.locate(u"musicxml2ly"_s));
    row(u"lilypond"_s, m_converter.locate(u"lilypond"_s));
    return success;
}

int CommandLineTool::convert(const QStringList& arguments) {
    QCommandLineParser parser;
    const ConvertOptions options = declareConvertOptions(parser);
    if (!parser.parse(arguments)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(u"help"_s)) {
        m_out << helpWithUsage(parser, m_program + u" convert [options] FILE.mid..."_s);
        return success;
    }
    const auto plan = planConversions(parser, options);
    if (!plan) {
        return usage(plan.error());
    }
    return runConversions(*plan);
}

std::expected<CommandLineTool::Plan, QString>
CommandLineTool::planConversions(const QCommandLineParser& parser,
                                 const ConvertOptions& options) const {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        return std::unexpected(u"convert needs at least one MIDI file"_s);
    }
    for (const QString& file : files) {
        if (!isMidiFile(file)) {
            return std::unexpected(u"'%1' is not a MIDI file (.mid or .midi)"_s.arg(file));
        }
        // Opening a FIFO or a device would block before any engine could be stopped.
        if (inputfile::existsButIsNotRegular(file)) {
            return std::unexpected(u"'%1' is not a regular file"_s.arg(file));
        }
    }
    const bool hasOutput = parser.isSet(options.output);
    const bool hasMusicXml = parser.isSet(options.musicXml);
    if (files.size() > 1 && (hasOutput || hasMusicXml)) {
        return std::unexpected(u"-o and --musicxml take a single input file"_s);
    }
    const bool musicXmlOnly = hasOutput && namesMusicXml(parser.value(options.output));
    if (parser.isSet(options.fast) && (hasMusicXml || musicXmlOnly)) {
        return std::unexpected(u"--fast produces no MusicXML"_s);
    }
    if (musicXmlOnly && hasMusicXml) {
        return std::unexpected(u"-o already names the MusicXML; --musicxml is for the PDF's"_s);
    }
    if (parser.isSet(options.title) && parser.isSet(options.noTitle)) {
        return std::unexpected(u"--title and --no-title exclude each other"_s);
    }
    const QString paperSize = parser.value(options.paper).toLower();
    if (!paperSizes.contains(paperSize)) {
        return std::unexpected(u"unknown paper size '%1' (known sizes: %2)"_s.arg(
            parser.value(options.paper), paperSizes.join(u", "_s)));
    }
    std::chrono::milliseconds engineTimeout{0};
    if (parser.isSet(options.timeout)) {
        bool isNumber = false;
        const double seconds = parser.value(options.timeout).toDouble(&isNumber);
        if (!isNumber || !(seconds > 0) || seconds > 1e6) {
            return std::unexpected(u"--timeout needs a positive number of seconds"_s);
        }
        // At least a millisecond: a zero timeout would mean none.
        engineTimeout = std::chrono::milliseconds(std::max<qint64>(1, qRound64(seconds * 1000)));
    }
    ImportOptions import;
    for (const QCommandLineOption& option : options.import) {
        if (!parser.isSet(option)) {
            continue;
        }
        if (const auto read =
                importoptions::set(import, option.names().constFirst(), parser.value(option));
            !read) {
            return std::unexpected(read.error());
        }
    }
    bool jobsIsNumber = false;
    const int maxJobs = parser.value(options.jobs).toInt(&jobsIsNumber);
    if (!jobsIsNumber || maxJobs < 1) {
        return std::unexpected(u"--jobs takes a whole number of at least 1, not '%1'"_s.arg(
            parser.value(options.jobs)));
    }
    const Settings settings{
        .engine =
            parser.isSet(options.fast) ? ConversionEngine::museScoreOnly : ConversionEngine::both,
        .paperSize = paperSize,
        .title = parser.isSet(options.noTitle) ? ScoreTitle::none()
                 : parser.isSet(options.title) ? ScoreTitle::custom(parser.value(options.title))
                                               : ScoreTitle::fromFileName(),
        .musicXmlDestination = parser.value(options.musicXml),
        .musicXmlOnly = musicXmlOnly,
        .import = import,
        .printLog = parser.isSet(options.log),
        .limits = {.cancellation = m_cancellation, .engineTimeout = engineTimeout},
    };

    QStringList destinations;
    for (const QString& file : files) {
        destinations << (hasOutput ? parser.value(options.output)
                                   : outputPathIn(QDir::currentPath(), pdfNameFor(file)));
    }
    if (const auto clash = outputcheck::clash(files, destinations, settings.musicXmlDestination)) {
        return std::unexpected(*clash);
    }
    // Found now rather than after a minute of engraving.
    QStringList written = destinations;
    if (hasMusicXml) {
        written << settings.musicXmlDestination;
    }
    for (const QString& destination : written) {
        if (const auto usable = filereplacement::checkDestination(destination); !usable) {
            return std::unexpected(usable.error());
        }
    }
    return Plan{
        .files = files, .destinations = destinations, .settings = settings, .maxJobs = maxJobs};
}

int CommandLineTool::runConversions(const Plan& plan) {
    std::vector<ParallelBatch::Job> conversions;
    for (qsizetype index = 0; index < plan.files.size(); ++index) {
        conversions.emplace_back(
            [this, midi = plan.files.at(index), destination = plan.destinations.at(index),
             settings = plan.settings] { return convertOne(midi, destination, settings); });
    }
    ParallelBatch batch(plan.maxJobs, m_cancellation);
    const bool allSucceeded = batch.run(conversions, [this](const JobReport& report) {
        m_out << terminalSafe(report.output, LineBreaks::keep);
        m_out.flush();
        m_err << terminalSafe(report.errors, LineBreaks::keep);
        m_err.flush();
    });
    return allSucceeded ? success : conversionFailed;
}

bool CommandLineTool::isCancelled() const {
    return m_cancellation && m_cancellation->isCancelled();
}

JobReport CommandLineTool::convertOne(const QString& midi, const QString& destination,
                                      const Settings& settings) const {
    JobReport report;
    const auto reportFailure = [&](const QString& message) {
        report.errors = m_program + u": "_s + terminalSafe(midi) + u": "_s + message + u'\n';
        return report;
    };

    const QUrl midiURL = QUrl::fromLocalFile(QFileInfo(midi).absoluteFilePath());
    const auto result =
        settings.musicXmlOnly
            ? m_converter.importMusicXml(midiURL, settings.limits, settings.title, settings.import)
            : m_converter.convert(midiURL, settings.engine, settings.paperSize, settings.limits,
                                  settings.title, settings.import);
    if (!result) {
        return reportFailure(describe(result.error()));
    }
    // Stopped after the engines finished: nothing is written, so no output is left half done.
    if (isCancelled()) {
        return reportFailure(describe(ConversionCancelled{}));
    }
    if (settings.printLog) {
        report.output = result->log;
    }
    const QUrl& product = settings.musicXmlOnly ? *result->musicXMLURL : result->pdfURL;
    if (const auto copied = filereplacement::copy(product.toLocalFile(), destination); !copied) {
        return reportFailure(u"could not write "_s + terminalSafe(destination) + u": "_s +
                             copied.error());
    }
    if (!settings.musicXmlDestination.isEmpty() && result->musicXMLURL) {
        if (const auto copied = filereplacement::copy(result->musicXMLURL->toLocalFile(),
                                                      settings.musicXmlDestination);
            !copied) {
            return reportFailure(u"could not write "_s +
                                 terminalSafe(settings.musicXmlDestination) + u": "_s +
                                 copied.error());
        }
    }
    report.output += terminalSafe(midi) + u" \u2192 "_s + terminalSafe(destination) + u'\n';
    report.succeeded = true;
    return report;
}

} // namespace velmarto
