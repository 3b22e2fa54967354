#pragma once

#include "core/conversion/ConversionCancelled.h"
#include "core/conversion/ConversionEngine.h"
#include "core/conversion/ConversionError.h"
#include "core/conversion/ConversionLimits.h"
#include "core/conversion/ConversionProgress.h"
#include "core/conversion/ConversionResult.h"
#include "core/conversion/EngineLocator.h"
#include "core/conversion/EngineRunner.h"
#include "core/conversion/ImportOptions.h"
#include "core/conversion/InstalledEngines.h"
#include "core/conversion/MuseScoreImportOptions.h"
#include "core/conversion/WorkDirectoryError.h"
#include "core/conversion/midi/ScoreTitle.h"
#include "core/platform/PlatformProfile.h"

#include <QString>
#include <QUrl>

#include <expected>
#include <optional>
#include <variant>

namespace velmarto {

using ConversionFailure = std::variant<ConversionError, WorkDirectoryError, ConversionCancelled>;

// The text a screen or the command line shows for a failed conversion.
QString describe(const ConversionFailure& failure);

// Turns one MIDI file into a PDF by running the engines one after another in a fresh work
// directory, checking each product before going on. It keeps no state between calls: every
// conversion gets its own directory, which is never deleted, so earlier results stay valid.
class Converter {
public:
    explicit Converter(
        PlatformProfile profile = PlatformProfile::current(),
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // Blocks for the length of all engine runs; call it off the main thread. The limits can stop
    // it early: a cancelled conversion fails with ConversionCancelled, an engine that runs too
    // long fails its stage with the transcript so far. The progress hears of each stage and of
    // MuseScore's draft.
    [[nodiscard]] std::expected<ConversionResult, ConversionFailure>
    convert(const QUrl& midiURL, ConversionEngine engine,
            const QString& paperSize = QStringLiteral("letter"), ConversionLimits limits = {},
            const ScoreTitle& title = ScoreTitle::fromFileName(), const ImportOptions& import = {},
            const ConversionProgress& progress = {}) const;

    // Runs MuseScore's import only and hands back the MusicXML that "Best" would engrave, with
    // an empty pdfURL: for users who edit the score in a notation program.
    [[nodiscard]] std::expected<ConversionResult, ConversionFailure>
    importMusicXml(const QUrl& midiURL, ConversionLimits limits = {},
                   const ScoreTitle& title = ScoreTitle::fromFileName(),
                   const ImportOptions& import = {}) const;

    [[nodiscard]] std::optional<QString> locateMuseScore() const;
    [[nodiscard]] std::optional<QString> locate(const QString& name) const;
    InstalledEngines installedEngines() const;
    bool allReady() const;

    // True when the file system reports a size of at least minBytes for the file.
    static bool isValidOutput(const QString& path, qint64 minBytes);
    // True when the file starts with a PDF header and ends with a PDF trailer: an engine that
    // ran out of disk space leaves a file that has the first but not the second.
    static bool isCompletePdf(const QString& path);

    const PlatformProfile& profile() const { return m_profile; }

private:
    // The files of one conversion in its own work directory.
    struct Workspace {
        QString stem;
        QString titleText;
        QString museScore;
        QString museScoreInput;
        ImportOptions import;
    };

    std::expected<Workspace, ConversionFailure>
    prepare(const QUrl& midiURL, const ScoreTitle& title, const ImportOptions& import) const;
    // Runs one engine under the conversion's limits and appends its transcript to the log.
    std::optional<ConversionFailure> runEngine(EngineInvocation invocation,
                                               const ConversionLimits& limits, QString& log) const;
    // Writes MuseScore's operations file beside the prepared MIDI file and returns its path.
    std::expected<QString, ConversionFailure>
    writeMuseScoreOptions(const Workspace& workspace, const MuseScoreImportOptions& options) const;
    struct MuseScoreDraft;
    // MuseScore's import into the MusicXML, checked and cleaned. With a draft, MuseScore also
    // writes its own PDF in the same run, and the import returns as soon as the MusicXML is
    // complete while MuseScore is still writing the PDF.
    std::optional<ConversionFailure> importInto(const Workspace& workspace, const QString& musicXml,
                                                const ConversionLimits& limits, QString& log,
                                                MuseScoreDraft* draft = nullptr) const;
    std::expected<ConversionResult, ConversionFailure>
    engraveWithMuseScore(const Workspace& workspace, const ConversionLimits& limits,
                         const ConversionProgress& progress) const;
    std::expected<ConversionResult, ConversionFailure>
    engraveWithLilyPond(const Workspace& workspace, const QString& paperSize,
                        const ConversionLimits& limits, const ConversionProgress& progress) const;

    PlatformProfile m_profile;
    EngineLocator m_locator;
    EngineRunner m_runner;
};

} // namespace velmarto
