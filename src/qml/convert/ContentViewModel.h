#pragma once

#include "core/conversion/ConversionEngine.h"
#include "core/conversion/ConversionResult.h"
#include "core/conversion/Converter.h"
#include "core/conversion/EngineStatus.h"
#include "qml/convert/ConversionQueue.h"
#include "qml/convert/FailureReport.h"
#include "qml/convert/ImportOptionsModel.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QtQmlIntegration>

#include <functional>
#include <optional>

namespace velmarto {

class DesktopNotifier;
class FileRevealer;
class FolderExport;
class Preferences;

// State and actions of the Convert tab: the chosen MIDI file, the running conversion and its
// outcome, and the copies saved from it. Several files taken at once wait in the queue; the one
// selected there is then the chosen file, and its outcome the one shown. All of it lives on the
// main thread; the conversion itself runs on the thread pool and posts its outcome back. File
// dialogs belong to the view: the model asks for one with a request signal and the view answers.
class ContentViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the application with its collaborators")
    // The views name the presets as ContentViewModel.ConversionEngine.both and so on.
    QML_EXTENDED_NAMESPACE(velmarto)

    Q_PROPERTY(QUrl midiURL READ midiURL NOTIFY midiURLChanged)
    Q_PROPERTY(bool hasMIDI READ hasMIDI NOTIFY midiURLChanged)
    Q_PROPERTY(QString midiFileName READ midiFileName NOTIFY midiURLChanged)
    // The chosen file's score title, as the engraving gets it; empty before a file is chosen.
    Q_PROPERTY(QString documentTitle READ documentTitle NOTIFY midiURLChanged)
    Q_PROPERTY(bool hasResult READ hasResult NOTIFY resultChanged)
    Q_PROPERTY(QUrl pdfURL READ pdfURL NOTIFY resultChanged)
    Q_PROPERTY(QString pdfFileName READ pdfFileName NOTIFY resultChanged)
    Q_PROPERTY(bool hasMusicXML READ hasMusicXML NOTIFY resultChanged)
    Q_PROPERTY(velmarto::ConversionEngine engine READ engine WRITE setEngine NOTIFY engineChanged)
    Q_PROPERTY(bool isConverting READ isConverting NOTIFY isConvertingChanged)
    // A file is chosen and no conversion is running.
    Q_PROPERTY(bool canConvert READ canConvert NOTIFY canConvertChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusMessageChanged)
    // A failed conversion: the stage that failed, a plain sentence when the cause is known, and
    // the whole text with the engines' own words.
    Q_PROPERTY(QString errorStageLine READ errorStageLine NOTIFY errorTextChanged)
    Q_PROPERTY(QString errorCause READ errorCause NOTIFY errorTextChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorTextChanged)
    Q_PROPERTY(bool isTargeted READ isTargeted WRITE setTargeted NOTIFY isTargetedChanged)
    // The application's one engine status, for the footer.
    Q_PROPERTY(velmarto::EngineStatus* engines READ engines CONSTANT)
    // A file request waits for its answer.
    Q_PROPERTY(bool isAwaitingFile READ isAwaitingFile NOTIFY isAwaitingFileChanged)
    // The status line reports a saved copy; false once it moves on.
    Q_PROPERTY(bool hasSavedCopy READ hasSavedCopy NOTIFY savedCopyURLChanged)
    // The link beside it: the file manager's name on this desktop.
    Q_PROPERTY(QString showSavedCopyLabel READ showSavedCopyLabel CONSTANT)
    // The stages of the running conversion's preset, and the one it is in (-1 when none runs).
    Q_PROPERTY(QStringList stageNames READ stageNames NOTIFY stageChanged)
    Q_PROPERTY(int stageIndex READ stageIndex NOTIFY stageChanged)
    // The running conversion's time so far, as "0:07".
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY elapsedTextChanged)
    // What the preview shows: MuseScore's draft while LilyPond engraves, the result otherwise.
    Q_PROPERTY(QUrl previewURL READ previewURL NOTIFY previewChanged)
    Q_PROPERTY(bool hasPreview READ hasPreview NOTIFY previewChanged)
    Q_PROPERTY(bool isDraft READ isDraft NOTIFY previewChanged)
    // Whether the user is looking at this window; a conversion that ends while they are not is
    // announced on the desktop.
    Q_PROPERTY(
        bool isWindowActive READ isWindowActive WRITE setWindowActive NOTIFY isWindowActiveChanged)
    Q_PROPERTY(velmarto::ImportOptionsModel* importOptions READ importOptions CONSTANT)
    // The import options differ from those the shown score was made with, and it can be made
    // again with the new ones.
    Q_PROPERTY(bool offersConvertAgain READ offersConvertAgain NOTIFY offersConvertAgainChanged)
    // The files of a drop or a choice of several; empty when a single file is chosen.
    Q_PROPERTY(velmarto::ConversionQueue* queue READ queue CONSTANT)

public:
    // A dialog filter whose patterns match the extensions in any case: Qt's own dialog compares
    // names case-sensitively, and a file copied from a camera card or an old PC is SONG.MID.
    static QString anyCaseNameFilter(const QString& description, const QStringList& extensions);

    static inline const QStringList midiNameFilters{anyCaseNameFilter(
        QStringLiteral("MIDI files"), {QStringLiteral("mid"), QStringLiteral("midi")})};
    static inline const QStringList pdfNameFilters{
        anyCaseNameFilter(QStringLiteral("PDF documents"), {QStringLiteral("pdf")})};
    static inline const QStringList musicXMLNameFilters{
        anyCaseNameFilter(QStringLiteral("MusicXML files"), {QStringLiteral("musicxml")})};

    // The model keeps pointers to its collaborators and owns none of them.
    ContentViewModel(Converter converter, Preferences* preferences, FileRevealer* revealer,
                     EngineStatus* engines, const DesktopNotifier* notifier,
                     QObject* parent = nullptr);
    ~ContentViewModel() override;

    QUrl midiURL() const { return m_midiURL; }
    bool hasMIDI() const { return !m_midiURL.isEmpty(); }
    QString midiFileName() const;
    QString documentTitle() const { return m_documentTitle; }
    bool hasResult() const { return m_result.has_value(); }
    const std::optional<ConversionResult>& result() const { return m_result; }
    QUrl pdfURL() const;
    QString pdfFileName() const;
    bool hasMusicXML() const;
    ConversionEngine engine() const { return m_engine; }
    bool isConverting() const { return m_isConverting; }
    bool canConvert() const { return hasMIDI() && !m_isConverting; }
    QString statusMessage() const { return m_statusMessage; }
    QString errorStageLine() const { return m_failure ? m_failure->stageLine : QString(); }
    QString errorCause() const { return m_failure ? m_failure->cause : QString(); }
    QString errorText() const { return m_failure ? m_failure->details : QString(); }
    bool hasError() const { return m_failure.has_value(); }
    bool isTargeted() const { return m_isTargeted; }
    EngineStatus* engines() const { return m_engines; }
    bool isAwaitingFile() const { return static_cast<bool>(m_pendingFileAnswer); }
    bool hasSavedCopy() const { return !m_savedCopyURL.isEmpty(); }
    QString showSavedCopyLabel() const { return m_converter.profile().showSavedCopyLabel; }
    QStringList stageNames() const;
    int stageIndex() const;
    QString elapsedText() const;
    QUrl previewURL() const { return isDraft() ? m_draftURL : pdfURL(); }
    bool hasPreview() const { return !previewURL().isEmpty(); }
    bool isDraft() const { return m_isConverting && !m_draftURL.isEmpty(); }
    bool isWindowActive() const { return m_isWindowActive; }
    ImportOptionsModel* importOptions() const { return m_importOptions; }
    bool offersConvertAgain() const { return m_offersConvertAgain; }
    ConversionQueue* queue() const { return m_queue; }

    void setEngine(ConversionEngine engine);
    void setTargeted(bool isTargeted);
    void setWindowActive(bool isWindowActive);

    // Each time the screen comes into view.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void setMIDI(const QUrl& url);
    // A file named from outside the window: the command line, a file manager's "Open with", the
    // Finder. Unlike a dropped item, a file that cannot be taken is not ignored in silence: the
    // user asked for it by name, so the status line says why.
    void openGivenFile(const QString& path);
    Q_INVOKABLE void chooseFile();
    // Returns whether the drop is taken. A single unsuitable item is taken and then ignored; of
    // several items, the MIDI files are queued and the status line names the others.
    Q_INVOKABLE bool handleDrop(const QList<QUrl>& urls);
    // Converts the chosen file, or every queued one.
    Q_INVOKABLE void convert();
    // Stops the running conversion and its engines; the previous result stays.
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void savePDF();
    // Saves the PDF of every converted file in the queue into a folder the user chooses.
    Q_INVOKABLE void saveAll();
    Q_INVOKABLE void saveMusicXML();
    // Shows the PDF in the file manager: the copy saved last, or the engraved one until then.
    Q_INVOKABLE void revealPDF();
    Q_INVOKABLE void revealSavedCopy();

    // The view's answer to the last file request; an open request may be answered with several.
    Q_INVOKABLE void answerFileRequest(const QUrl& chosen);
    Q_INVOKABLE void answerFilesRequest(const QList<QUrl>& chosen);
    Q_INVOKABLE void cancelFileRequest();

    void exportCopy(const QUrl& source, const QString& suggestedName,
                    const QStringList& nameFilters);

signals:
    void midiURLChanged();
    void resultChanged();
    void engineChanged();
    void isConvertingChanged();
    void canConvertChanged();
    void statusMessageChanged();
    void errorTextChanged();
    void isTargetedChanged();
    void conversionFinished();
    void isAwaitingFileChanged();
    void savedCopyURLChanged();
    void stageChanged();
    void elapsedTextChanged();
    void previewChanged();
    void isWindowActiveChanged();
    void offersConvertAgainChanged();
    // Ask the view for its open or its save dialog; it answers with answerFileRequest or
    // cancelFileRequest.
    void openFileRequested(const QStringList& nameFilters);
    void saveFileRequested(const QUrl& folder, const QUrl& suggestedFile,
                           const QStringList& nameFilters);
    // Ask for the folder that Save All writes into, then, when some of its files are there
    // already, whether to replace them; the chosen folder is the answer to both.
    void saveFolderRequested(const QUrl& folder);
    void replaceFilesRequested(const QUrl& folder, const QStringList& fileNames);

private:
    using Outcome = std::expected<ConversionResult, ConversionFailure>;
    using FilesAnswer = std::function<void(const QList<QUrl>& chosen)>;

    // Shows the file as the chosen one, keeping the result shown with it.
    void showFile(const QUrl& url);
    // Several files named at once: the MIDI files among them are queued, or chosen when there is
    // just one, and the status line says why any other is left out.
    void takeFiles(const QList<QUrl>& urls);
    void showQueueSelection();
    void convertQueue();
    void queueEntryChanged(int row);
    void finishQueue();
    void saveAllInto(const QUrl& folder);
    void writeAll(const FolderExport& copies, const QString& folder);
    void finishConversion(const Outcome& outcome, const QUrl& converted, bool revealAfterConvert);
    // What the conversion's threads report, handed to this model on its own thread.
    ConversionProgress progressReceiver();
    void enterStage(ConversionStage stage);
    void showDraft(const QUrl& pdf);
    void announce(const QString& summary, const QString& body) const;
    void setConverting(bool isConverting);
    void awaitFile(std::function<void(const QUrl& chosen)> answer);
    void awaitFiles(FilesAnswer answer);
    void reveal(const QString& path);
    // Any other status hides the saved copy's link.
    void setStatusMessage(const QString& statusMessage, const QUrl& savedCopyURL = {});
    void setFailure(std::optional<FailureReport> failure);
    void setResult(std::optional<ConversionResult> result);
    void updateConvertAgainOffer();

    Converter m_converter;
    Preferences* m_preferences;
    FileRevealer* m_revealer;
    EngineStatus* m_engines;
    const DesktopNotifier* m_notifier;
    // Only one dialog is open at a time, so one pending answer is enough.
    FilesAnswer m_pendingFileAnswer;
    ConversionQueue* m_queue;

    QUrl m_midiURL;
    QString m_documentTitle;
    std::optional<ConversionResult> m_result;
    ConversionEngine m_engine = ConversionEngine::both;
    bool m_isConverting = false;
    // The preset and stage of the running conversion; the preset may be changed meanwhile.
    ConversionEngine m_runningEngine = ConversionEngine::both;
    std::optional<ConversionStage> m_stage;
    QElapsedTimer m_elapsed;
    QTimer m_elapsedTick;
    QUrl m_draftURL;
    bool m_isWindowActive = false;
    // Shared with the running conversion's worker, which may outlive the model.
    std::shared_ptr<CancellationToken> m_cancellation;
    QString m_statusMessage;
    QUrl m_savedCopyURL;
    // The last saved copy of this result's PDF, which Reveal shows rather than the work folder's.
    QString m_savedPDFPath;
    std::optional<FailureReport> m_failure;
    bool m_isTargeted = false;
    ImportOptionsModel* m_importOptions;
    // The import options of the running conversion, then of the score it made.
    ImportOptions m_convertedImport;
    bool m_offersConvertAgain = false;
};

} // namespace velmarto
