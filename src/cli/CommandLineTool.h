#pragma once

#include "cli/ParallelBatch.h"
#include "core/conversion/Converter.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <expected>

namespace velmarto {

// velmarto-cli: the conversion pipeline behind a command line for scripts.
//   velmarto-cli convert [--fast] [--paper NAME] [--title TEXT | --no-title]
//                        [-o OUT.pdf|OUT.musicxml] [--musicxml OUT.musicxml]
//                        [import options: --played, --quantize, --voices, --tuplets,
//                         --split-piano, --key, --meter, --tracks, --swing]
//                        [--log] [--timeout SECONDS] [-j N] FILE.mid...
//   velmarto-cli engines
// Exit codes: 0 success, 1 a conversion failed, 2 a usage error. When the cancellation is set
// (by SIGINT or SIGTERM) the running engines are stopped and no further file is converted.
// Several files convert at once (-j), each in a job of a ParallelBatch.
class CommandLineTool {
public:
    enum ExitCode { success = 0, conversionFailed = 1, usageError = 2 };

    CommandLineTool(Converter converter, QTextStream& out, QTextStream& err,
                    const CancellationToken* cancellation = nullptr);

    int run(const QStringList& arguments);

private:
    // How every file of one convert command is converted.
    struct Settings {
        ConversionEngine engine;
        QString paperSize;
        ScoreTitle title;
        QString musicXmlDestination;
        // The single output is MusicXML: MuseScore's import runs, nothing is engraved.
        bool musicXmlOnly;
        ImportOptions import;
        bool printLog;
        ConversionLimits limits;
    };

    // The convert command's options, as declared to its parser.
    struct ConvertOptions {
        QCommandLineOption fast;
        QCommandLineOption paper;
        QCommandLineOption output;
        QCommandLineOption musicXml;
        QCommandLineOption log;
        QCommandLineOption timeout;
        QCommandLineOption jobs;
        QCommandLineOption title;
        QCommandLineOption noTitle;
        // One for each import option, named as it is.
        QList<QCommandLineOption> import;
    };
    // Every file of a convert command and what becomes of it, all checked before any engine runs.
    struct Plan {
        QStringList files;
        QStringList destinations;
        Settings settings;
        int maxJobs;
    };

    int convert(const QStringList& arguments);
    static ConvertOptions declareConvertOptions(QCommandLineParser& parser);
    // The reason, fit for a usage message, when the command line asks for something impossible.
    std::expected<Plan, QString> planConversions(const QCommandLineParser& parser,
                                                 const ConvertOptions& options) const;
    int runConversions(const Plan& plan);
    int engines(const QStringList& arguments);
    int usage(const QString& message);
    // Runs on a thread of the batch: reads the members, changes nothing.
    JobReport convertOne(const QString& midi, const QString& destination,
                         const Settings& settings) const;
    bool isCancelled() const;

    Converter m_converter;
    QTextStream& m_out;
    QTextStream& m_err;
    const CancellationToken* m_cancellation;
    QString m_program;
};

} // namespace velmarto
