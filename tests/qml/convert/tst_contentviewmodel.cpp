#include "ConvertScreen.h"
#include "support/FileContents.h"
#include "support/IsolatedSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using velmarto::ContentViewModel;
using velmarto::ConversionEngine;
using velmarto::Converter;
using velmarto::FileRevealer;
using velmarto::PlatformProfile;
using velmarto::test::ConvertScreen;
using velmarto::test::fileContents;

namespace {

// The Convert tab's model and everything it needs, on fake engines.
struct Screen : ConvertScreen {
    bool convertAndWait() {
        model->convert();
        return QTest::qWaitFor([this] { return !model->isConverting(); }, 20000);
    }
};

} // namespace

class TestContentViewModel : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void aFreshScreenWaitsForAFile() {
        Screen screen;
        const ContentViewModel& model = *screen.model;
        QCOMPARE(model.statusMessage(), u"Drop a MIDI file to begin."_s);
        QVERIFY(!model.hasMIDI());
        QVERIFY(!model.hasResult());
        QVERIFY(!model.hasError());
        QVERIFY(!model.isConverting());
        QCOMPARE(model.engine(), ConversionEngine::both);
    }

    void appearingTakesThePresetFromTheDefaultEngine_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<ConversionEngine>("expected");
        QTest::newRow("fast") << u"fast"_s << ConversionEngine::museScoreOnly;
        QTest::newRow("both") << u"both"_s << ConversionEngine::both;
        QTest::newRow("unknown text") << u"museScoreOnly"_s << ConversionEngine::both;
    }

    void appearingTakesThePresetFromTheDefaultEngine() {
        QFETCH(QString, stored);
        QFETCH(ConversionEngine, expected);
        Screen screen;
        screen.model->setEngine(expected == ConversionEngine::both ? ConversionEngine::museScoreOnly
                                                                   : ConversionEngine::both);
        screen.preferences.setDefaultEngine(stored);
        screen.model->appear();
        QCOMPARE(screen.model->engine(), expected);
    }

    void appearingWithAFileLeavesThePresetAlone() {
        Screen screen;
        screen.preferences.setDefaultEngine(u"fast"_s);
        screen.model->appear();
        screen.model->setMIDI(screen.midi());
        screen.model->setEngine(ConversionEngine::both);
        screen.model->appear();
        QCOMPARE(screen.model->engine(), ConversionEngine::both);
        QCOMPARE(screen.preferences.defaultEngine(), u"fast"_s);
    }

    void choosingAFileMakesItReady() {
        Screen screen;
        const QUrl midi = screen.midi(u"Für Elise.midi"_s);
        screen.chooser.answerNext(midi);
        QSignalSpy midiSpy(screen.model.get(), &ContentViewModel::midiURLChanged);

        screen.model->chooseFile();

        QCOMPARE(screen.chooser.requests().size(), 1);
        QCOMPARE(screen.chooser.requests().first().nameFilters, ContentViewModel::midiNameFilters);
        QCOMPARE(midiSpy.count(), 1);
        QCOMPARE(screen.model->midiURL(), midi);
        QCOMPARE(screen.model->midiFileName(), u"Für Elise.midi"_s);
        QCOMPARE(screen.model->statusMessage(), u"Ready: Für Elise.midi"_s);
    }

    void cancellingTheOpenDialogChangesNothing() {
        Screen screen;
        const QUrl first = screen.midi();
        screen.model->setMIDI(first);
        screen.model->chooseFile();
        QCOMPARE(screen.model->midiURL(), first);
        QCOMPARE(screen.model->statusMessage(), u"Ready: Song.mid"_s);

        // A late answer after the cancel belongs to no request.
        screen.model->answerFileRequest(screen.midi(u"Late.mid"_s));
        QCOMPARE(screen.model->midiURL(), first);
    }

    void theSaveDialogOpensOnAFolderThatExists() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        QSignalSpy saveSpy(screen.model.get(), &ContentViewModel::saveFileRequested);

        screen.model->savePDF();

        QCOMPARE(saveSpy.count(), 1);
        const QString folder = saveSpy.first().at(0).toUrl().toLocalFile();
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(saveSpy.first().at(1).toUrl(),
                 QUrl::fromLocalFile(QDir(folder).filePath(u"Song.pdf"_s)));
    }

    // A single item that is no MIDI file is ignored in silence; of several, the MIDI files are
    // taken and the status line names the others.
    void dropsTakeTheirMIDIFiles_data() {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("status");
        const QString untouched = u"Drop a MIDI file to begin."_s;
        QTest::newRow("upper-case extension")
            << QStringList{u"Song.MID"_s} << true << u"Song.MID"_s << u"Ready: Song.MID"_s;
        QTest::newRow("midi") << QStringList{u"Song.midi"_s} << true << u"Song.midi"_s
                              << u"Ready: Song.midi"_s;
        QTest::newRow("text file") << QStringList{u"notes.txt"_s} << true << QString() << untouched;
        QTest::newRow("two MIDI files") << QStringList{u"One.mid"_s, u"Two.mid"_s} << true
                                        << u"One.mid"_s << u"Ready: 2 MIDI files"_s;
        QTest::newRow("MIDI file second")
            << QStringList{u"notes.txt"_s, u"Song.mid"_s} << true << u"Song.mid"_s
            << u"Ready: Song.mid — notes.txt is not a MIDI file."_s;
        QTest::newRow("folder named like a MIDI file")
            << QStringList{u"Folder.mid/"_s} << true << QString() << untouched;
        QTest::newRow("nothing") << QStringList{} << false << QString() << untouched;
    }

    void dropsTakeTheirMIDIFiles() {
        QFETCH(QStringList, dropped);
        QFETCH(bool, accepted);
        QFETCH(QString, taken);
        QFETCH(QString, status);
        Screen screen;
        QList<QUrl> urls;
        for (const QString& name : dropped) {
            if (name.endsWith(u'/')) {
                QDir(screen.engines.path(QString())).mkpath(name);
                urls.append(QUrl::fromLocalFile(screen.engines.path(name.chopped(1))));
            } else {
                urls.append(screen.midi(name));
            }
        }

        QCOMPARE(screen.model->handleDrop(urls), accepted);

        QCOMPARE(screen.model->midiFileName(), taken);
        QCOMPARE(screen.model->statusMessage(), status);
    }

    void aFileThatIsNotARegularFileIsRefusedWithAReason() {
        Screen screen;
        const QString fifo = screen.engines.path(u"Pipe.mid"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(screen.model->handleDrop({QUrl::fromLocalFile(fifo)}));
        QVERIFY(!screen.model->hasMIDI());
        QCOMPARE(screen.model->statusMessage(), u"Pipe.mid is not a regular file."_s);
        screen.model->setMIDI(screen.midi());
        screen.model->openGivenFile(fifo);
        QCOMPARE(screen.model->midiFileName(), u"Song.mid"_s);
        QCOMPARE(screen.model->statusMessage(), u"Pipe.mid is not a regular file."_s);
    }

    void aBestConversionPublishesProgressThenTheResult() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QSignalSpy convertingSpy(screen.model.get(), &ContentViewModel::isConvertingChanged);

        screen.model->convert();

        QVERIFY(screen.model->isConverting());
        QCOMPARE(screen.model->statusMessage(), u"Converting with MuseScore + LilyPond…"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 20000);
        QCOMPARE(convertingSpy.count(), 2);
        QCOMPARE(screen.model->statusMessage(), u"Done — Song.pdf is ready."_s);
        QVERIFY(screen.model->hasResult());
        QVERIFY(screen.model->hasMusicXML());
        QCOMPARE(screen.model->pdfFileName(), u"Song.pdf"_s);
        QVERIFY(QFile::exists(screen.model->pdfURL().toLocalFile()));
        QVERIFY(!screen.model->hasError());
    }

    void convertingIsOfferedOnlyWithAFileAndNothingRunning() {
        Screen screen;
        QSignalSpy canConvertSpy(screen.model.get(), &ContentViewModel::canConvertChanged);
        QVERIFY(!screen.model->canConvert());

        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.model->canConvert());
        screen.model->setMIDI(screen.midi(u"Other.mid"_s));
        QCOMPARE(canConvertSpy.count(), 1);

        screen.model->convert();
        QVERIFY(!screen.model->canConvert());
        QCOMPARE(canConvertSpy.count(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->canConvert(), 20000);
        QCOMPARE(canConvertSpy.count(), 3);
    }

    void aFastConversionHasNoMusicXMLToSave() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        screen.model->setEngine(ConversionEngine::museScoreOnly);
        screen.model->convert();
        QCOMPARE(screen.model->statusMessage(), u"Converting with MuseScore…"_s);
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->hasResult(), 20000);
        QVERIFY(!screen.model->hasMusicXML());

        screen.model->saveMusicXML();

        QVERIFY(screen.chooser.requests().isEmpty());
        QCOMPARE(screen.model->statusMessage(), u"Done — Song.pdf is ready."_s);
    }

    void aFailureKeepsTheEarlierResult() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        const QUrl earlierPDF = screen.model->pdfURL();
        screen.engines.installLilypond(u"echo 'fatal: no music found' ; exit 1"_s);
        QSignalSpy resultSpy(screen.model.get(), &ContentViewModel::resultChanged);

        screen.model->convert();
        QVERIFY(!screen.model->hasError());
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 20000);

        QCOMPARE(screen.model->statusMessage(), u"Conversion failed."_s);
        QVERIFY(screen.model->hasError());
        QVERIFY(screen.model->errorText().contains(u" failed:\n"_s));
        QVERIFY(screen.model->errorText().contains(u"fatal: no music found"_s));
        QCOMPARE(resultSpy.count(), 0);
        QCOMPARE(screen.model->pdfURL(), earlierPDF);
    }

    void aNewFileClearsResultAndError() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        screen.engines.installMuseScore(u"exit 3"_s);
        QVERIFY(screen.convertAndWait());
        QVERIFY(screen.model->hasResult() && screen.model->hasError());

        screen.model->setMIDI(screen.midi(u"Other.mid"_s));

        QVERIFY(!screen.model->hasResult());
        QVERIFY(!screen.model->hasError());
        QCOMPARE(screen.model->statusMessage(), u"Ready: Other.mid"_s);
    }

    // The footer shows the missing engine once the conversion that needed it has ended.
    void aMissingEngineReportsTheLocatingErrorAndTurnsUpInTheStatus() {
        Screen screen;
        QFile::remove(screen.engines.path(u"bin/mscore"_s));
        QVERIFY(screen.model->engines()->museScore());

        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        QCOMPARE(screen.model->statusMessage(), u"Conversion failed."_s);
        QVERIFY(screen.model->errorText().contains(u"MuseScore"_s));
        QVERIFY(!screen.model->engines()->museScore());
        QVERIFY(screen.model->engines()->musicxml2ly());
        QVERIFY(screen.model->engines()->lilypond());
    }

    void theConversionUsesThePreferencesTakenAtItsStart() {
        Screen screen;
        screen.engines.installMusicxml2ly(uR"(sleep 1
printf '%s\n{ c4 }\n' '\version "2.24.0"' > "$3")"_s);
        screen.preferences.setPaperSize(u"a4"_s);
        screen.preferences.setRevealAfterConvert(true);
        screen.model->setMIDI(screen.midi());
        QSignalSpy revealSpy(screen.revealer.get(), &FileRevealer::revealedThroughProgram);

        screen.model->convert();
        screen.preferences.setPaperSize(u"letter"_s);
        screen.preferences.setRevealAfterConvert(false);
        screen.model->setEngine(ConversionEngine::museScoreOnly);
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 20000);

        QVERIFY(screen.model->hasMusicXML());
        const QString source = QString::fromUtf8(
            fileContents(screen.model->result()->lilypondURL.value_or(QUrl()).toLocalFile()));
        QVERIFY2(source.contains(u"a4"_s), qPrintable(source));
        QVERIFY(!source.contains(u"letter"_s));
        QTRY_COMPARE(revealSpy.count(), 1);
        const QStringList expected{u"-R"_s, screen.model->pdfURL().toLocalFile()};
        QCOMPARE(revealSpy.first().at(1).toStringList(), expected);
    }

    void revealingWaitsForASuccess() {
        Screen screen;
        screen.preferences.setRevealAfterConvert(true);
        screen.engines.installMuseScore(u"exit 3"_s);
        screen.model->setMIDI(screen.midi());
        QSignalSpy revealSpy(screen.revealer.get(), &FileRevealer::revealedThroughProgram);
        QVERIFY(screen.convertAndWait());
        QCOMPARE(revealSpy.count(), 0);

        screen.model->revealPDF();
        QCOMPARE(revealSpy.count(), 0);
    }

    void aRevealThatCannotStartSaysSo() {
        Screen screen;
        PlatformProfile noFileManager = PlatformProfile::macOS();
        noFileManager.revealProgram = screen.engines.path(u"no-such-program"_s);
        FileRevealer revealer(noFileManager);
        ContentViewModel model(Converter(screen.engines.profile()), &screen.preferences, &revealer,
                               screen.status.get(), nullptr);
        screen.chooser.attach(&model);
        model.setMIDI(screen.midi());
        model.convert();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 20000);
        QVERIFY(model.hasResult());

        model.revealPDF();

        QTRY_COMPARE(model.statusMessage(), u"Could not show Song.pdf in the file manager."_s);
    }

    void aFileChosenDuringAConversionStillGetsThatResult() {
        Screen screen;
        screen.engines.installLilypond(
            u"sleep 1; printf '%%PDF-1.4 fake\\n%%%%EOF\\n' > \"$2.pdf\""_s);
        screen.model->setMIDI(screen.midi());
        screen.model->convert();
        screen.model->setMIDI(screen.midi(u"Next.mid"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 20000);
        QCOMPARE(screen.model->statusMessage(), u"Done — Song.pdf is ready."_s);
        QCOMPARE(screen.model->midiFileName(), u"Next.mid"_s);
    }

    void savingCopiesThePDFWhereTheUserChose() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        QTemporaryDir destination;
        const QString target = destination.filePath(u"My Score.pdf"_s);
        screen.chooser.answerNext(QUrl::fromLocalFile(target));

        screen.model->savePDF();

        QCOMPARE(screen.chooser.requests().first().suggestedName, u"Song.pdf"_s);
        QCOMPARE(screen.chooser.requests().first().nameFilters, ContentViewModel::pdfNameFilters);
        QCOMPARE(screen.model->statusMessage(), u"Saved to "_s + target);
        QCOMPARE(fileContents(target), fileContents(screen.model->pdfURL().toLocalFile()));
    }

    void savingTheMusicXMLOverAnExistingFileReplacesIt() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        QTemporaryDir destination;
        const QString target = destination.filePath(u"Song.musicxml"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older score");
        old.close();
        screen.chooser.answerNext(QUrl::fromLocalFile(target));

        screen.model->saveMusicXML();

        QCOMPARE(screen.chooser.requests().first().nameFilters,
                 ContentViewModel::musicXMLNameFilters);
        QCOMPARE(screen.model->statusMessage(), u"Saved to "_s + target);
        QCOMPARE(fileContents(target),
                 fileContents(screen.model->result()->musicXMLURL->toLocalFile()));
    }

    void aFailedSaveKeepsTheFileThatWasThere() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        QTemporaryDir destination;
        const QString target = destination.filePath(u"Song.pdf"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the user's own file");
        old.close();
        QVERIFY(QFile::remove(screen.model->pdfURL().toLocalFile()));
        screen.chooser.answerNext(QUrl::fromLocalFile(target));

        screen.model->savePDF();

        QVERIFY(screen.model->statusMessage().startsWith(u"Could not save: "_s));
        QVERIFY(screen.model->statusMessage().size() > u"Could not save: "_s.size());
        QCOMPARE(fileContents(target), QByteArray("the user's own file"));
        QVERIFY(!screen.model->hasError());
    }

    void savingIntoAFolderNobodyCanWriteFails() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        screen.chooser.answerNext(QUrl::fromLocalFile(u"/proc/Song.pdf"_s));

        screen.model->savePDF();

        QVERIFY(screen.model->statusMessage().startsWith(u"Could not save: "_s));
        QVERIFY(QFile::exists(screen.model->pdfURL().toLocalFile()));
    }

    void aPlaceOffThisComputerIsRefusedWithAReason() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        screen.chooser.answerNext(QUrl(u"sftp://server/scores/Song.pdf"_s));

        screen.model->savePDF();

        QCOMPARE(
            screen.model->statusMessage(),
            u"Could not save: sftp://server/scores/Song.pdf is not a place on this computer."_s);
    }

    void savingAFileOntoItselfChangesNothing() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        const QString pdf = screen.model->pdfURL().toLocalFile();
        const QByteArray before = fileContents(pdf);
        screen.chooser.answerNext(QUrl::fromLocalFile(pdf));

        screen.model->savePDF();

        QCOMPARE(screen.model->statusMessage(), u"Saved to "_s + pdf);
        QCOMPARE(fileContents(pdf), before);
    }

    void cancellingTheSaveDialogLeavesTheStatus() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        screen.model->savePDF();
        QCOMPARE(screen.chooser.requests().size(), 1);
        QCOMPARE(screen.model->statusMessage(), u"Done — Song.pdf is ready."_s);
    }

    void convertWithoutAFileOrWhileConvertingDoesNothing() {
        Screen screen;
        screen.model->convert();
        QVERIFY(!screen.model->isConverting());
        QCOMPARE(screen.model->statusMessage(), u"Drop a MIDI file to begin."_s);

        screen.engines.installLilypond(
            u"sleep 1; printf '%%PDF-1.4 fake\\n%%%%EOF\\n' > \"$2.pdf\""_s);
        screen.model->setMIDI(screen.midi());
        QSignalSpy finishedSpy(screen.model.get(), &ContentViewModel::conversionFinished);
        screen.model->convert();
        screen.model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 20000);
        QCOMPARE(finishedSpy.count(), 1);
        QVERIFY(!finishedSpy.wait(1500));
    }

    void theStagesAndMuseScoresDraftArriveInOrderOnTheRealEngines() {
        if (!Converter().allReady()) {
            QSKIP("MuseScore, musicxml2ly and LilyPond are not all installed");
        }
        ConvertScreen screen(ConvertScreen::Engines::Installed);
        ContentViewModel& model = *screen.model;
        QStringList stages;
        QList<QUrl> drafts;
        connect(&model, &ContentViewModel::stageChanged, &model, [&] {
            stages.append(model.stageIndex() < 0 ? u"ended"_s
                                                 : model.stageNames().at(model.stageIndex()));
        });
        connect(&model, &ContentViewModel::previewChanged, &model, [&] {
            if (model.isDraft()) {
                drafts.append(model.previewURL());
            }
        });
        model.setMIDI(screen.midi());

        model.convert();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 120000);
        QVERIFY2(model.hasResult(), qPrintable(model.errorText()));
        QCOMPARE(stages,
                 QStringList({u"Importing"_s, u"Converting"_s, u"Engraving"_s, u"ended"_s}));
        QCOMPARE(drafts.size(), 1);
        QVERIFY(Converter::isCompletePdf(drafts.first().toLocalFile()));
        QCOMPARE(model.previewURL(), model.pdfURL());
        QVERIFY(!model.isDraft());

        stages.clear();
        model.setEngine(ConversionEngine::museScoreOnly);
        model.convert();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 120000);
        QVERIFY2(model.hasResult(), qPrintable(model.errorText()));
        QCOMPARE(stages, QStringList({u"Importing"_s, u"Engraving"_s, u"ended"_s}));
        QCOMPARE(drafts.size(), 1);
    }

    void cancellingStopsTheEnginesAndKeepsTheEarlierResult() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        QVERIFY(screen.convertAndWait());
        const QUrl earlierPDF = screen.model->pdfURL();
        const QString pidFile = screen.engines.path(u"lilypond.pid"_s);
        screen.engines.installLilypond(u"echo $$ > '"_s + pidFile + u"'; exec sleep 30"_s);
        QSignalSpy resultSpy(screen.model.get(), &ContentViewModel::resultChanged);

        screen.model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(!fileContents(pidFile).trimmed().isEmpty(), 20000);
        screen.model->cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.model->isConverting(), 5000);

        QCOMPARE(screen.model->statusMessage(), u"Conversion cancelled."_s);
        QVERIFY(!screen.model->hasError());
        QCOMPARE(resultSpy.count(), 0);
        QCOMPARE(screen.model->pdfURL(), earlierPDF);
        QTRY_VERIFY(
            !QDir(u"/proc/"_s + QString::fromUtf8(fileContents(pidFile).trimmed())).exists());
    }

    void aScreenThatGoesAwayStopsItsConversion() {
        Screen screen;
        screen.model->setMIDI(screen.midi());
        const QString pidFile = screen.engines.path(u"mscore.pid"_s);
        screen.engines.installMuseScore(u"echo $$ > '"_s + pidFile + u"'; exec sleep 30"_s);
        screen.model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(!fileContents(pidFile).trimmed().isEmpty(), 20000);

        screen.model.reset();
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(u"/proc/"_s + QString::fromUtf8(fileContents(pidFile).trimmed())).exists(), 5000);
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"contentviewmodel"_s};
};

QTEST_GUILESS_MAIN(TestContentViewModel)
#include "tst_contentviewmodel.moc"
