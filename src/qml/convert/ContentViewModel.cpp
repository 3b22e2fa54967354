#include "qml/convert/ContentViewModel.h"

#include "core/conversion/InputFile.h"
#include "core/platform/DesktopNotifier.h"
#include "core/platform/FileReplacement.h"
#include "core/platform/FileRevealer.h"
#include "core/settings/Preferences.h"
#include "qml/convert/FolderExport.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPointer>
#include <QStandardPaths>
#include <QtConcurrent>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

QString fileName(const QUrl& url) {
    return QFileInfo(url.toLocalFile()).fileName();
}

bool isMIDIFile(const QUrl& url) {
    if (!url.isLocalFile()) {
        return false;
    }
    const QFileInfo info(url.toLocalFile());
    const QString suffix = info.suffix().toLower();
    return !info.isDir() && (suffix == u"mid"_s || suffix == u"midi"_s);
}

// Why the item cannot be taken as a MIDI file to convert; empty when it can.
QString whyNotMIDI(const QUrl& url) {
    const QFileInfo info(url.toLocalFile());
    const QString name =
        info.fileName().isEmpty() ? url.toDisplayString(QUrl::PreferLocalFile) : info.fileName();
    if (!url.isLocalFile() || !info.exists()) {
        return u"Could not find "_s + name + u"."_s;
    }
    if (info.isDir()) {
        return name + u" is a folder, not a MIDI file."_s;
    }
    if (!isMIDIFile(url)) {
        return name + u" is not a MIDI file."_s;
    }
    if (inputfile::existsButIsNotRegular(info.filePath())) {
        return inputfile::notRegularMessage(info.filePath());
    }
    return {};
}

QDir documentsFolder() {
    // Many Linux homes have no Documents folder; a dialog opened on a missing one lists nothing
    // useful.
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return folder.exists() ? folder : QDir::home();
}

} // namespace

ContentViewModel::ContentViewModel(Converter converter, Preferences* preferences,
                                   FileRevealer* revealer, EngineStatus* engines,
                                   const DesktopNotifier* notifier, QObject* parent)
    : QObject(parent)
    , m_converter(std::move(converter))
    , m_preferences(preferences)
    , m_revealer(revealer)
    , m_engines(engines)
    , m_notifier(notifier)
    , m_queue(new ConversionQueue(this))
    , m_statusMessage(u"Drop a MIDI file to begin."_s)
    , m_importOptions(new ImportOptionsModel(preferences, this)) {
    m_elapsedTick.setInterval(1000);
    connect(&m_elapsedTick, &QTimer::timeout, this, &ContentViewModel::elapsedTextChanged);
    connect(m_preferences, &Preferences::importOptionsChanged, this,
            &ContentViewModel::updateConvertAgainOffer);
    connect(this, &ContentViewModel::resultChanged, this,
            &ContentViewModel::updateConvertAgainOffer);
    connect(this, &ContentViewModel::isConvertingChanged, this,
            &ContentViewModel::updateConvertAgainOffer);
    connect(m_queue, &ConversionQueue::selectedRowChanged, this,
            &ContentViewModel::showQueueSelection);
    connect(m_queue, &ConversionQueue::entryChanged, this, &ContentViewModel::queueEntryChanged);
    connect(m_queue, &ConversionQueue::finished, this, &ContentViewModel::finishQueue);
}

// A conversion still running stops with its screen; its outcome has nowhere to go.
ContentViewModel::~ContentViewModel() {
    cancel();
}

QString ContentViewModel::anyCaseNameFilter(const QString& description,
                                            const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) {
        QString pattern = u"*."_s;
        for (const QChar letter : extension) {
            pattern += letter.isLetter() ? u"["_s + letter.toUpper() + letter.toLower() + u"]"_s
                                         : QString(letter);
        }
        patterns.append(pattern);
    }
    return description + u" ("_s + patterns.join(u' ') + u")"_s;
}

QString ContentViewModel::midiFileName() const {
    return fileName(m_midiURL);
}

QUrl ContentViewModel::pdfURL() const {
    return m_result ? m_result->pdfURL : QUrl();
}

QString ContentViewModel::pdfFileName() const {
    return m_result ? fileName(m_result->pdfURL) : QString();
}

bool ContentViewModel::hasMusicXML() const {
    return m_result && m_result->musicXMLURL;
}

void ContentViewModel::setEngine(ConversionEngine engine) {
    if (m_engine != engine) {
        m_engine = engine;
        emit engineChanged();
    }
}

void ContentViewModel::setTargeted(bool isTargeted) {
    if (m_isTargeted != isTargeted) {
        m_isTargeted = isTargeted;
        emit isTargetedChanged();
    }
}

QStringList ContentViewModel::stageNames() const {
    if (m_runningEngine == ConversionEngine::museScoreOnly) {
        return {u"Importing"_s, u"Engraving"_s};
    }
    return {u"Importing"_s, u"Converting"_s, u"Engraving"_s};
}

int ContentViewModel::stageIndex() const {
    if (!m_stage) {
        return -1;
    }
    switch (*m_stage) {
    case ConversionStage::importing:
        return 0;
    case ConversionStage::converting:
        return 1;
    case ConversionStage::engraving:
        return static_cast<int>(stageNames().size()) - 1;
    }
    return -1;
}

QString ContentViewModel::elapsedText() const {
    if (!m_isConverting) {
        return {};
    }
    const qint64 seconds = m_elapsed.elapsed() / 1000;
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

void ContentViewModel::setWindowActive(bool isWindowActive) {
    if (m_isWindowActive != isWindowActive) {
        m_isWindowActive = isWindowActive;
        emit isWindowActiveChanged();
    }
}

void ContentViewModel::appear() {
    if (m_result || hasMIDI()) {
        return;
    }
    setEngine(m_preferences->defaultEngine() == u"fast"_s ? ConversionEngine::museScoreOnly
                                                          : ConversionEngine::both);
}

void ContentViewModel::setMIDI(const QUrl& url) {
    // The queue's rows stay until its run ends.
    if (m_queue->isRunning()) {
        setStatusMessage(u"Cancel the conversions first to choose other files."_s);
        return;
    }
    // A FIFO or a device named song.mid would hold the conversion before any engine starts.
    if (inputfile::existsButIsNotRegular(url.toLocalFile())) {
        setStatusMessage(inputfile::notRegularMessage(url.toLocalFile()));
        return;
    }
    m_queue->setFiles({});
    showFile(url);
    setResult(std::nullopt);
    setFailure(std::nullopt);
    setStatusMessage(u"Ready: "_s + fileName(url));
}

void ContentViewModel::showFile(const QUrl& url) {
    const bool couldConvert = canConvert();
    m_midiURL = url;
    m_documentTitle = ScoreTitle::fromFileName().textFor(url.toLocalFile());
    emit midiURLChanged();
    if (canConvert() != couldConvert) {
        emit canConvertChanged();
    }
}

void ContentViewModel::takeFiles(const QList<QUrl>& urls) {
    if (m_isConverting) {
        setStatusMessage(u"Cancel the conversions first to choose other files."_s);
        return;
    }
    QList<QUrl> taken;
    QStringList leftOut;
    for (const QUrl& url : urls) {
        const QString reason = whyNotMIDI(url);
        if (reason.isEmpty()) {
            taken.append(url);
        } else {
            leftOut.append(reason);
        }
    }
    if (taken.size() == 1) {
        setMIDI(taken.first());
    } else if (taken.size() > 1) {
        m_queue->setFiles(taken);
        setStatusMessage(u"Ready: %1 MIDI files"_s.arg(taken.size()));
    }
    if (!leftOut.isEmpty()) {
        setStatusMessage((taken.isEmpty() ? QString() : m_statusMessage + u" — "_s) +
                         leftOut.join(u' '));
    }
}

void ContentViewModel::showQueueSelection() {
    if (const ConversionQueue::Entry* entry = m_queue->selected()) {
        showFile(entry->midiURL);
        setResult(entry->result);
        setFailure(entry->failure);
    }
}

void ContentViewModel::openGivenFile(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (const QString reason = whyNotMIDI(url); !reason.isEmpty()) {
        setStatusMessage(reason);
        return;
    }
    setMIDI(url);
}

void ContentViewModel::chooseFile() {
    awaitFiles([this](const QList<QUrl>& chosen) {
        if (chosen.size() == 1) {
            setMIDI(chosen.first());
        } else {
            takeFiles(chosen);
        }
    });
    emit openFileRequested(midiNameFilters);
}

bool ContentViewModel::handleDrop(const QList<QUrl>& urls) {
    if (urls.isEmpty()) {
        return false;
    }
    if (urls.size() > 1) {
        takeFiles(urls);
    } else if (isMIDIFile(urls.first())) {
        setMIDI(urls.first());
    }
    return true;
}

void ContentViewModel::convert() {
    // The button is disabled while converting; refusing here too keeps two conversions from
    // racing to publish their outcome when the call comes another way.
    if (!canConvert()) {
        return;
    }
    if (m_queue->count() > 1) {
        convertQueue();
        return;
    }
    setConverting(true);
    setFailure(std::nullopt);
    setStatusMessage(
        u"Converting with "_s +
        (m_engine == ConversionEngine::both ? u"MuseScore + LilyPond"_s : u"MuseScore"_s) + u"…"_s);

    const bool revealAfterConvert = m_preferences->revealAfterConvert();
    m_runningEngine = m_engine;
    m_elapsed.start();
    m_elapsedTick.start();
    emit elapsedTextChanged();
    enterStage(ConversionStage::importing);
    const ImportOptions import = m_preferences->importOptions();
    m_cancellation = std::make_shared<CancellationToken>();
    auto* watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcher<Outcome>::finished, this,
            [this, watcher, converted = m_midiURL, revealAfterConvert, import] {
                watcher->deleteLater();
                if (watcher->result()) {
                    m_convertedImport = import;
                }
                finishConversion(watcher->result(), converted, revealAfterConvert);
            });
    watcher->setFuture(QtConcurrent::run([converter = m_converter, midiURL = m_midiURL,
                                          engine = m_engine, paperSize = m_preferences->paperSize(),
                                          cancellation = m_cancellation, import,
                                          progress = progressReceiver()] {
        return converter.convert(midiURL, engine, paperSize, {.cancellation = cancellation.get()},
                                 ScoreTitle::fromFileName(), import, progress);
    }));
}

ConversionProgress ContentViewModel::progressReceiver() {
    // The conversion's threads post to a carrier that lives on this thread for as long as they
    // hold it; the model itself may be gone by the time a report arrives.
    const auto carrier =
        std::shared_ptr<QObject>(new QObject, [](QObject* object) { object->deleteLater(); });
    const auto post = [carrier, model = QPointer(this)](auto step) {
        QMetaObject::invokeMethod(
            carrier.get(),
            [model, step] {
                if (model) {
                    step(*model);
                }
            },
            Qt::QueuedConnection);
    };
    return {
        .stageEntered =
            [post](ConversionStage stage) {
                post([stage](ContentViewModel& model) { model.enterStage(stage); });
            },
        .draftReady =
            [post](const QUrl& pdf) {
                post([pdf](ContentViewModel& model) { model.showDraft(pdf); });
            },
    };
}

void ContentViewModel::enterStage(ConversionStage stage) {
    if (m_isConverting && m_stage != stage) {
        m_stage = stage;
        emit stageChanged();
    }
}

void ContentViewModel::showDraft(const QUrl& pdf) {
    if (m_isConverting) {
        m_draftURL = pdf;
        emit previewChanged();
    }
}

void ContentViewModel::announce(const QString& summary, const QString& body) const {
    if (!m_isWindowActive && m_notifier) {
        m_notifier->notify(summary, body);
    }
}

void ContentViewModel::updateConvertAgainOffer() {
    const bool offers =
        m_result && !m_isConverting && m_convertedImport != m_preferences->importOptions();
    if (m_offersConvertAgain != offers) {
        m_offersConvertAgain = offers;
        emit offersConvertAgainChanged();
    }
}

void ContentViewModel::cancel() {
    if (m_isConverting && m_cancellation) {
        m_cancellation->cancel();
    }
    m_queue->cancel();
}

void ContentViewModel::convertQueue() {
    setConverting(true);
    m_runningEngine = m_engine;
    m_elapsed.start();
    m_elapsedTick.start();
    emit elapsedTextChanged();
    // Stages only: a draft would be shown whichever row is selected.
    ConversionProgress progress = progressReceiver();
    progress.draftReady = nullptr;
    // Every row starts afresh, so whatever the queue shows from now on is made with these.
    m_convertedImport = m_preferences->importOptions();
    m_queue->start([converter = m_converter, engine = m_engine,
                    paperSize = m_preferences->paperSize(), import = m_convertedImport,
                    progress](const QUrl& midiURL, const CancellationToken& cancellation) {
        return converter.convert(midiURL, engine, paperSize, {.cancellation = &cancellation},
                                 ScoreTitle::fromFileName(), import, progress);
    });
}

void ContentViewModel::queueEntryChanged(int row) {
    if (row == m_queue->selectedRow()) {
        showQueueSelection();
    }
    if (m_queue->entry(row).state == ConversionQueue::State::converting) {
        m_stage.reset();
        enterStage(ConversionStage::importing);
        setStatusMessage(u"Converting %1 of %2: %3…"_s.arg(row + 1)
                             .arg(m_queue->count())
                             .arg(fileName(m_queue->entry(row).midiURL)));
    }
}

void ContentViewModel::finishQueue() {
    setConverting(false);
    m_elapsedTick.stop();
    emit elapsedTextChanged();
    m_stage.reset();
    emit stageChanged();
    const int converted = m_queue->convertedCount();
    const int failed = m_queue->countIn(ConversionQueue::State::failed);
    const QString summary = u"%1 of %2 files converted"_s.arg(converted).arg(m_queue->count()) +
                            (failed > 0 ? u", %1 failed."_s.arg(failed) : u"."_s);
    if (m_queue->countIn(ConversionQueue::State::cancelled) > 0) {
        setStatusMessage(u"Conversion cancelled: "_s + summary);
    } else {
        setStatusMessage(u"Done — "_s + summary);
        announce(failed > 0 ? u"Some scores failed"_s : u"Your scores are ready"_s, summary);
    }
    m_engines->refresh();
    emit conversionFinished();
}

void ContentViewModel::finishConversion(const Outcome& outcome, const QUrl& converted,
                                        bool revealAfterConvert) {
    // The draft goes with the conversion; the preview moves from it to the result, or back to the
    // earlier one, in one step.
    const bool hadDraft = !std::exchange(m_draftURL, QUrl()).isEmpty();
    setConverting(false);
    m_elapsedTick.stop();
    emit elapsedTextChanged();
    m_stage.reset();
    emit stageChanged();
    if (hadDraft && !outcome) {
        emit previewChanged();
    }
    if (outcome) {
        setResult(*outcome);
        setStatusMessage(u"Done — "_s + pdfFileName() + u" is ready."_s);
        announce(u"Your score is ready"_s, pdfFileName() + u" has been engraved."_s);
        if (revealAfterConvert) {
            revealPDF();
        }
    } else if (std::holds_alternative<ConversionCancelled>(outcome.error())) {
        setStatusMessage(u"Conversion cancelled."_s);
    } else {
        setStatusMessage(u"Conversion failed."_s);
        setFailure(FailureReport::of(outcome.error(), converted.toLocalFile()));
        announce(u"The conversion failed"_s, fileName(converted) + u" could not be engraved."_s);
    }
    // A conversion that failed for want of an engine shows in the footer.
    m_engines->refresh();
    emit conversionFinished();
}

void ContentViewModel::savePDF() {
    if (m_result) {
        exportCopy(m_result->pdfURL, fileName(m_result->pdfURL), pdfNameFilters);
    }
}

void ContentViewModel::saveMusicXML() {
    if (m_result && m_result->musicXMLURL) {
        exportCopy(*m_result->musicXMLURL, fileName(*m_result->musicXMLURL), musicXMLNameFilters);
    }
}

void ContentViewModel::revealPDF() {
    if (!m_result) {
        return;
    }
    reveal(QFileInfo::exists(m_savedPDFPath) ? m_savedPDFPath : m_result->pdfURL.toLocalFile());
}

void ContentViewModel::revealSavedCopy() {
    if (!m_savedCopyURL.isEmpty()) {
        reveal(m_savedCopyURL.toLocalFile());
    }
}

void ContentViewModel::reveal(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    m_revealer->reveal(path, [model = QPointer(this), name] {
        if (model) {
            model->setStatusMessage(model->m_converter.profile().revealFailedNote.arg(name));
        }
    });
}

void ContentViewModel::saveAll() {
    if (m_isConverting || m_queue->convertedCount() == 0) {
        return;
    }
    awaitFile([this](const QUrl& folder) { saveAllInto(folder); });
    emit saveFolderRequested(QUrl::fromLocalFile(documentsFolder().absolutePath()));
}

void ContentViewModel::saveAllInto(const QUrl& folder) {
    if (!folder.isLocalFile()) {
        setStatusMessage(u"Could not save: "_s + folder.toDisplayString(QUrl::PreferLocalFile) +
                         u" is not a place on this computer."_s);
        return;
    }
    QList<std::pair<QString, QString>> pdfs;
    for (int row = 0; row < m_queue->count(); ++row) {
        if (const auto& result = m_queue->entry(row).result) {
            pdfs.append({m_queue->entry(row).midiURL.toLocalFile(), result->pdfURL.toLocalFile()});
        }
    }
    const QString path = folder.toLocalFile();
    const FolderExport copies(path, pdfs);
    if (copies.replacedNames().isEmpty()) {
        writeAll(copies, path);
        return;
    }
    awaitFile([this, copies, path](const QUrl&) { writeAll(copies, path); });
    emit replaceFilesRequested(folder, copies.replacedNames());
}

void ContentViewModel::writeAll(const FolderExport& copies, const QString& folder) {
    const QStringList failures = copies.write();
    const qsizetype total = copies.copies().size();
    const qsizetype saved = total - failures.size();
    if (failures.isEmpty()) {
        setStatusMessage(u"Saved %1 PDFs to "_s.arg(saved) + folder, QUrl::fromLocalFile(folder));
        return;
    }
    setStatusMessage(u"Saved %1 of %2 PDFs to "_s.arg(saved).arg(total) + folder +
                         u". Could not save "_s + failures.join(u"; "_s),
                     saved > 0 ? QUrl::fromLocalFile(folder) : QUrl());
}

void ContentViewModel::exportCopy(const QUrl& source, const QString& suggestedName,
                                  const QStringList& nameFilters) {
    awaitFile([this, source](const QUrl& destination) {
        if (!destination.isLocalFile()) {
            setStatusMessage(u"Could not save: "_s +
                             destination.toDisplayString(QUrl::PreferLocalFile) +
                             u" is not a place on this computer."_s);
            return;
        }
        const QString path = destination.toLocalFile();
        const auto copied = filereplacement::copy(source.toLocalFile(), path);
        if (!copied) {
            setStatusMessage(u"Could not save: "_s + copied.error());
            return;
        }
        if (m_result && source == m_result->pdfURL) {
            m_savedPDFPath = path;
        }
        setStatusMessage(u"Saved to "_s + path, QUrl::fromLocalFile(path));
    });
    const QDir folder = documentsFolder();
    emit saveFileRequested(QUrl::fromLocalFile(folder.absolutePath()),
                           QUrl::fromLocalFile(folder.filePath(suggestedName)), nameFilters);
}

void ContentViewModel::answerFileRequest(const QUrl& chosen) {
    answerFilesRequest(chosen.isEmpty() ? QList<QUrl>() : QList<QUrl>{chosen});
}

void ContentViewModel::answerFilesRequest(const QList<QUrl>& chosen) {
    // Taken out first: the answer may well ask for the next dialog.
    const auto answer = std::exchange(m_pendingFileAnswer, nullptr);
    if (answer) {
        emit isAwaitingFileChanged();
    }
    if (answer && !chosen.isEmpty()) {
        answer(chosen);
    }
}

void ContentViewModel::cancelFileRequest() {
    if (std::exchange(m_pendingFileAnswer, nullptr)) {
        emit isAwaitingFileChanged();
    }
}

void ContentViewModel::awaitFile(std::function<void(const QUrl& chosen)> answer) {
    awaitFiles([answer = std::move(answer)](const QList<QUrl>& chosen) { answer(chosen.first()); });
}

void ContentViewModel::awaitFiles(FilesAnswer answer) {
    const bool wasAwaiting = isAwaitingFile();
    m_pendingFileAnswer = std::move(answer);
    if (!wasAwaiting) {
        emit isAwaitingFileChanged();
    }
}

void ContentViewModel::setConverting(bool isConverting) {
    if (m_isConverting != isConverting) {
        const bool couldConvert = canConvert();
        m_isConverting = isConverting;
        emit isConvertingChanged();
        if (canConvert() != couldConvert) {
            emit canConvertChanged();
        }
    }
}

void ContentViewModel::setStatusMessage(const QString& statusMessage, const QUrl& savedCopyURL) {
    if (m_statusMessage != statusMessage) {
        m_statusMessage = statusMessage;
        emit statusMessageChanged();
    }
    if (m_savedCopyURL != savedCopyURL) {
        m_savedCopyURL = savedCopyURL;
        emit savedCopyURLChanged();
    }
}

void ContentViewModel::setFailure(std::optional<FailureReport> failure) {
    if (m_failure || failure) {
        m_failure = std::move(failure);
        emit errorTextChanged();
    }
}

void ContentViewModel::setResult(std::optional<ConversionResult> result) {
    if (!m_result && !result) {
        return;
    }
    m_result = std::move(result);
    m_savedPDFPath.clear();
    emit resultChanged();
    emit previewChanged();
}

} // namespace velmarto
