#include "core/conversion/Converter.h"
#include "support/FakeEngines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// MuseScore that writes `bytes` bytes of the given text pattern to its output file.
QString museScoreWriting(int bytes, const QString& firstLine) {
    return u"{ echo '%1'; head -c %2 /dev/zero | tr '\\0' ' '; } | head -c %2 > \"$2\""_s
        .arg(firstLine)
        .arg(bytes);
}

// MuseScore that writes a PDF of exactly `bytes` bytes, with header and trailer.
QString museScoreWritingPdf(int bytes) {
    return museScoreWriting(bytes - 6, u"%PDF-1.4"_s) + u"; printf '%%%%EOF\\n' >> \"$2\""_s;
}

// MuseScore that writes a well-formed partwise MusicXML file padded to about `bytes` bytes.
QString museScoreWritingPartwise(int bytes) {
    return u"{ echo '<score-partwise><part-list><score-part id=\"P1\"/></part-list>'; "
           u"head -c %1 /dev/zero | tr '\\0' ' '; "
           u"echo '</score-partwise>'; } > \"$2\""_s.arg(bytes);
}

} // namespace

class TestConverter : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::FakeEngines> engines;
    QString midi;

    Converter converter() const { return Converter(engines->profile()); }

    ConversionError failureOf(ConversionEngine engine, const QString& paperSize = u"letter"_s) {
        const auto result = converter().convert(QUrl::fromLocalFile(midi), engine, paperSize);
        if (result) {
            qFatal("the conversion was expected to fail");
        }
        return std::get<ConversionError>(result.error());
    }

    QStringList workDirectories() const {
        return QDir(engines->temporaryDirectory()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        engines = std::make_unique<test::FakeEngines>();
        engines->installWorkingEngines();
        midi = engines->writeMidi(u"Song.mid"_s);
    }

    void bestQualityLeavesThreeFilesInANewWorkDirectory() {
        const auto result =
            converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both, u"a4"_s);
        QVERIFY(result.has_value());

        const QStringList directories = workDirectories();
        QCOMPARE(directories.size(), 1);
        const QString work = directories.first();
        QVERIFY(work.startsWith(u"midi2sheet-"_s));
        QCOMPARE(work.size(), 11 + 36);
        const QString prefix = engines->temporaryDirectory() + u'/' + work + u"/Song"_s;
        QCOMPARE(result->pdfURL, QUrl::fromLocalFile(prefix + u".pdf"_s));
        QCOMPARE(result->musicXMLURL, QUrl::fromLocalFile(prefix + u".musicxml"_s));
        QCOMPARE(result->lilypondURL, QUrl::fromLocalFile(prefix + u".ly"_s));

        const QStringList lines = readAll(prefix + u".ly"_s).split(u'\n');
        QCOMPARE(lines.at(1), u"\\version \"2.24.0\""_s);
        QCOMPARE(lines.at(2), u"#(set-default-paper-size \"a4\")"_s);

        QCOMPARE(result->log.count(u"$ "_s), 3);
        // MuseScore reads the prepared copy of the MIDI file, and the transcript says so.
        const QString options =
            engines->temporaryDirectory() + u'/' + work + u"/import-options.xml"_s;
        QVERIFY(result->log.startsWith(u"$ "_s + engines->path(u"bin/mscore"_s) + u" -o "_s +
                                       prefix + u".musicxml -M "_s + options + u' ' + prefix +
                                       u".mid\n"_s));
        QVERIFY(result->log.contains(u"$ "_s + engines->path(u"bin/musicxml2ly"_s) + u' ' + prefix +
                                     u".musicxml -o "_s + prefix + u".ly\n"_s));
        QVERIFY(result->log.contains(u"$ "_s + engines->path(u"bin/lilypond"_s) + u" -o "_s +
                                     prefix + u' ' + prefix + u".ly\n"_s));
    }

    void everyConversionGetsItsOwnDirectoryAndEarlierResultsStay() {
        const auto first = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        const auto second = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(first && second);
        QVERIFY(first->pdfURL != second->pdfURL);
        QVERIFY(QFile::exists(first->pdfURL.toLocalFile()));
        QCOMPARE(workDirectories().size(), 2);
    }

    void fastPresetWritesOnlyAPdf() {
        const auto result =
            converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::museScoreOnly);
        QVERIFY(result.has_value());
        QVERIFY(result->pdfURL.toLocalFile().endsWith(u"/Song.pdf"_s));
        QVERIFY(!result->musicXMLURL.has_value());
        QVERIFY(!result->lilypondURL.has_value());
        QCOMPARE(result->log.count(u"$ "_s), 1);
        const QString pdf = result->pdfURL.toLocalFile();
        const QString options = QFileInfo(pdf).dir().filePath(u"import-options.xml"_s);
        QVERIFY(result->log.contains(u" -o "_s + pdf + u" -M "_s + options + u' ' + pdf.chopped(4) +
                                     u".mid\n"_s));
    }

    void fastPdfMustHaveAThousandBytes() {
        engines->installMuseScore(museScoreWritingPdf(999));
        const ConversionError error = failureOf(ConversionEngine::museScoreOnly);
        QCOMPARE(error.stage(), u"MuseScore conversion"_s);
        QVERIFY(error.detail().startsWith(u"No valid PDF was produced.\n\n$ "_s));

        engines->installMuseScore(museScoreWritingPdf(1000));
        QVERIFY(converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::museScoreOnly));
    }

    void aTruncatedPdfIsNoSuccess_data() {
        QTest::addColumn<QString>("writer");
        // What an engine leaves on a full disk: the start of a PDF without its end.
        QTest::newRow("header only") << museScoreWriting(12288, u"%PDF-1.4"_s);
        QTest::newRow("no header")
            << museScoreWriting(12282, u"<html>"_s) + u"; printf '%%%%EOF\\n' >> \"$2\""_s;
        QTest::newRow("empty") << u": > \"$2\""_s;
    }

    void aTruncatedPdfIsNoSuccess() {
        QFETCH(QString, writer);
        engines->installMuseScore(writer);
        ConversionError error = failureOf(ConversionEngine::museScoreOnly);
        QCOMPARE(error.stage(), u"MuseScore conversion"_s);
        QVERIFY(error.detail().startsWith(u"No valid PDF was produced.\n\n$ "_s));

        engines->installWorkingEngines();
        engines->installLilypond(QString(writer).replace(u"\"$2\""_s, u"\"$2.pdf\""_s));
        error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"LilyPond engraving"_s);
        QVERIFY(error.detail().startsWith(u"No PDF was produced.\n\n$ "_s));
    }

    // Opening a FIFO would block this thread before any engine could be stopped.
    void aMidiFileThatIsNotARegularFileFailsBeforeAnything() {
        midi = engines->path(u"Pipe.mid"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(midi).constData(), 0600), 0);
        const ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"Reading the MIDI file"_s);
        QCOMPARE(error.detail(), u"Pipe.mid is not a regular file."_s);
        QVERIFY(workDirectories().isEmpty());
    }

    void museScoreThatCrashesAfterWritingItsOutputStillSucceeds() {
        engines->installMuseScore(museScoreWritingPartwise(5000) +
                                  u"\necho 'Segmentation fault'; exit 139"_s);
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(result.has_value());
        QVERIFY(result->log.contains(u"Segmentation fault\n\n(exit status 139)\n"_s));
    }

    void museScoreImportChecks_data() {
        QTest::addColumn<QString>("museScore");
        QTest::newRow("nothing written, exit 1") << u"echo 'importMidi: bad file format'; exit 1"_s;
        QTest::newRow("199 bytes, partwise") << museScoreWriting(199, u"<score-partwise>"_s);
        QTest::newRow("5000 bytes, timewise") << museScoreWriting(5000, u"<score-timewise>"_s);
        QTest::newRow("not UTF-8")
            << (museScoreWritingPartwise(5000) + u"; printf '\\377\\376' >> \"$2\""_s);
        QTest::newRow("not well-formed XML") << museScoreWriting(5000, u"<score-partwise>"_s);
        // What MuseScore writes, with success, for a file with an empty track chunk.
        QTest::newRow("no part") << museScoreWriting(5000, u"<score-partwise><part-list>"_s) +
                                        u"; echo '</part-list></score-partwise>' >> \"$2\""_s;
    }

    void museScoreImportChecks() {
        QFETCH(QString, museScore);
        engines->installMuseScore(museScore);
        const ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"MuseScore import"_s);
        QVERIFY(error.detail().startsWith(u"MuseScore did not produce valid MusicXML.\n\n$ "_s));
        QVERIFY(!error.detail().contains(u"musicxml2ly"_s));
    }

    void museScoreOutputReachesTheUser() {
        engines->installMuseScore(u"echo 'importMidi: bad file format'; exit 1"_s);
        const ConversionError error = failureOf(ConversionEngine::both);
        QVERIFY(error.detail().contains(u"importMidi: bad file format\n"_s));
        QVERIFY(error.detail().endsWith(u"(exit status 1)\n"_s));
    }

    void missingEngines_data() {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<int>("filesLeft");
        const PlatformProfile desktop = PlatformProfile::freedesktop(QProcessEnvironment());
        QTest::newRow("MuseScore")
            << u"mscore"_s << u"Locating MuseScore"_s << desktop.museScoreMissingDetail << 0;
        QTest::newRow("musicxml2ly") << u"musicxml2ly"_s << u"Locating musicxml2ly"_s
                                     << desktop.musicxml2lyMissingDetail << 3;
        QTest::newRow("lilypond") << u"lilypond"_s << u"Locating lilypond"_s
                                  << desktop.lilypondMissingDetail << 4;
    }

    void missingEngines() {
        QFETCH(QString, removed);
        QFETCH(QString, stage);
        QFETCH(QString, detail);
        QFETCH(int, filesLeft);
        QVERIFY(QFile::remove(engines->path(u"bin/"_s + removed)));
        const ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), stage);
        QCOMPARE(error.detail(), detail);
        // The steps before the missing engine did run (the MIDI copy for MuseScore among them).
        const QString work =
            engines->temporaryDirectory() + u'/' + workDirectories().value(0) + u'/';
        QCOMPARE(QDir(work).entryList(QDir::Files).size(), filesLeft);
    }

    void fastNeedsOnlyMuseScore() {
        QVERIFY(QFile::remove(engines->path(u"bin/musicxml2ly"_s)));
        QVERIFY(QFile::remove(engines->path(u"bin/lilypond"_s)));
        QVERIFY(converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::museScoreOnly));
    }

    void musicxml2lyFailures() {
        engines->installMusicxml2ly(u"echo 'no such element'; exit 2"_s);
        ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"musicxml2ly"_s);
        QCOMPARE(error.detail(), u"Exit code 2\n\nno such element\n"_s);

        engines->installMusicxml2ly(u"echo 'wrote nothing'"_s);
        error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"musicxml2ly"_s);
        QVERIFY(error.detail().startsWith(u"No LilyPond source was produced.\n\n$ "_s));
        QVERIFY(error.detail().endsWith(u"wrote nothing\n\n"_s));
    }

    void lilypondFailures() {
        engines->installLilypond(u"echo 'error: syntax error'; exit 1"_s);
        ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"LilyPond engraving"_s);
        QCOMPARE(error.detail(), u"Exit code 1\n\nerror: syntax error\n"_s);

        engines->installLilypond(u"echo 'drew nothing'"_s);
        error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"LilyPond engraving"_s);
        QVERIFY(error.detail().startsWith(u"No PDF was produced.\n\n$ "_s));
        QCOMPARE(error.detail().count(u"$ "_s), 3);
    }

    void anEngineThatCannotBeLaunchedFailsItsOwnStage() {
        // Executable for the locator, but not a program the system can start.
        engines->writeFile(u"bin/musicxml2ly"_s, "\x7f"
                                                 "ELF garbage");
        QFile::setPermissions(engines->path(u"bin/musicxml2ly"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const ConversionError error = failureOf(ConversionEngine::both);
        QCOMPARE(error.stage(), u"musicxml2ly"_s);
        QVERIFY(error.detail().startsWith(u"Could not launch "_s +
                                          engines->path(u"bin/musicxml2ly"_s) + u": "_s));
    }

    void fileNamesWithAwkwardCharacters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("base");
        QTest::newRow("spaces") << u"My Song.mid"_s << u"My Song"_s;
        QTest::newRow("non-ASCII") << u"F\u00fcr \u00c9lise \u2013 \u591c.MIDI"_s
                                   << u"F\u00fcr \u00c9lise \u2013 \u591c"_s;
        QTest::newRow("several dots") << u"a.b.c.mid"_s << u"a.b.c"_s;
        QTest::newRow("only an extension") << u".mid"_s << u"score"_s;
        QTest::newRow("single quotes and brackets")
            << u"Don't (stop) [1] {2} & <3>; ok!.mid"_s << u"Don't (stop) [1] {2} & <3>; ok!"_s;
        // What a shell still expands inside double quotes, and what ends a LilyPond comment.
        QTest::newRow("double quotes") << u"Say \"hi\".mid"_s << u"Say _hi_"_s;
        QTest::newRow("command substitution") << u"song $(touch pwned) `touch pwned` ${HOME}.mid"_s
                                              << u"song _(touch pwned) _touch pwned_ _{HOME}"_s;
        QTest::newRow("backslash") << u"a\\b.mid"_s << u"a_b"_s;
        QTest::newRow("control characters")
            << u"a\nb\rc\td\u0085e\u2028f\u001bg.mid"_s << u"a_b_c_d_e_f_g"_s;
        // Long names are cut so that "<base>.musicxml" and the temporary file of its rewrite fit
        // in 255 bytes, never inside a character.
        QTest::newRow("250 letters") << QString(250, u'x') + u".mid"_s << QString(239, u'x');
        QTest::newRow("two-byte letters")
            << QString(125, u'\u00e9') + u".mid"_s << QString(119, u'\u00e9');
        const QString note = u"\U0001F3B5"_s;
        QTest::newRow("four-byte letters") << note.repeated(62) + u".mid"_s << note.repeated(59);
    }

    void fileNamesWithAwkwardCharacters() {
        QFETCH(QString, name);
        QFETCH(QString, base);
        const QString file = engines->writeMidi(name);
        const auto result = converter().convert(QUrl::fromLocalFile(file), ConversionEngine::both);
        QVERIFY2(result.has_value(), qPrintable(result ? QString() : describe(result.error())));
        QCOMPARE(result->pdfURL.fileName(), base + u".pdf"_s);
        QCOMPARE(result->musicXMLURL->fileName(), base + u".musicxml"_s);
        QVERIFY(QFile::exists(result->pdfURL.toLocalFile()));
        QVERIFY(QFile::exists(result->musicXMLURL->toLocalFile()));
        QVERIFY(readAll(result->lilypondURL->toLocalFile())
                    .contains(u"#(set-default-paper-size \"letter\")"_s));
        QVERIFY(result->log.contains(u' ' + result->pdfURL.toLocalFile().chopped(4) + u".mid\n"_s));
    }

    void museScoreReadsATitledCopyOrTheUnparsableOriginal() {
        const QString harp = engines->writeMidi(u"harp_harmony.mid"_s);
        const auto titled = converter().convert(QUrl::fromLocalFile(harp), ConversionEngine::both);
        QVERIFY2(titled, qPrintable(titled ? QString() : describe(titled.error())));
        // The copy stays in the work folder, like every other work file.
        QFile copy(titled->pdfURL.toLocalFile().chopped(4) + u".mid"_s);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(copy.readAll().contains(QByteArray("\xff\x10\x0cHarp Harmony")));
        QVERIFY(readAll(titled->musicXMLURL->toLocalFile())
                    .contains(u"<part-name>Piano</part-name><part-abbreviation>Pno."_s));
        const QString source = readAll(titled->lilypondURL->toLocalFile());
        QVERIFY(source.contains(u"\n    title = \"Harp Harmony\"\n    tagline = ##f\n"_s));
        QVERIFY(source.contains(u"    indent = #(velmarto-name-indent (list \"Piano\"))\n"_s));

        const QString broken =
            engines->writeFile(u"broken.mid"_s, "MThd\0\0\0\6\0\1\0\1\1\xe0MTrk"_ba);
        const auto untouched =
            converter().convert(QUrl::fromLocalFile(broken), ConversionEngine::museScoreOnly);
        QVERIFY(untouched);
        QVERIFY(untouched->log.contains(u' ' + broken + u'\n'));
    }

    void workDirectoriesAreOwnerOnly() {
        QVERIFY(converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both));
        const QFileInfo work(engines->temporaryDirectory() + u'/' + workDirectories().value(0));
        QVERIFY(work.isDir());
        QCOMPARE(work.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aMissingTemporaryFolderIsCreated() {
        PlatformProfile profile = engines->profile();
        profile.temporaryDirectory = engines->path(u"tmp/not/yet"_s);
        const auto result =
            Converter(profile).convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(result.has_value());
        QVERIFY(result->pdfURL.toLocalFile().startsWith(profile.temporaryDirectory +
                                                        u"/midi2sheet-"_s));

        profile.temporaryDirectory.clear();
        const auto refused =
            Converter(profile).convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(!refused.has_value());
        QVERIFY(std::holds_alternative<WorkDirectoryError>(refused.error()));
    }

    void workDirectoryFailureIsTheFileSystemsOwnError() {
        PlatformProfile profile = engines->profile();
        profile.temporaryDirectory = engines->writeFile(u"not-a-folder"_s, "x");
        const auto result =
            Converter(profile).convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(!result.has_value());
        QVERIFY(std::holds_alternative<WorkDirectoryError>(result.error()));
        QVERIFY2(describe(result.error()).contains(u"Not a directory"_s),
                 qPrintable(describe(result.error())));
    }

    void hostileTextNeverReachesMusicxml2ly() {
        engines->writeFile(u"crafted.musicxml"_s,
                           "<?xml version=\"1.0\"?>\n<score-partwise><part-list><score-part "
                           "id=\"P1\"><part-name>x\\\" #(system \"touch pwned\") %</part-name>"
                           "</score-part></part-list><credit><credit-words>a&#10;paper-width = 1"
                           "</credit-words></credit>" +
                               QByteArray(300, ' ') + "</score-partwise>\n");
        engines->installMuseScore(u"cp \"$(dirname \"$0\")/../crafted.musicxml\" \"$2\""_s);
        engines->installMusicxml2ly(
            u"cp \"$1\" \"$1.seen\"; printf '\\\\version \"2.24.0\"\\n' > \"$3\""_s);
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY(result.has_value());
        const QString seen = readAll(result->musicXMLURL->toLocalFile() + u".seen"_s);
        QVERIFY(!seen.contains(u'\\'));
        QVERIFY2(seen.contains(u"<part-name>x\u29F5\u201D \uFF03(system \u201Ctouch pwned\u201D) "
                               u"\uFF05</part-name>"_s),
                 qPrintable(seen));
        QVERIFY(seen.contains(u"<credit-words>a paper-width = 1</credit-words>"_s));
        QCOMPARE(readAll(result->musicXMLURL->toLocalFile()), seen);
    }

    void engineStatusFollowsTheDisk() {
        QVERIFY(converter().allReady());
        QVERIFY(QFile::remove(engines->path(u"bin/lilypond"_s)));
        QCOMPARE(converter().installedEngines(),
                 (InstalledEngines{.museScore = true, .musicxml2ly = true, .lilypond = false}));
        QVERIFY(!converter().allReady());
        engines->installLilypond(u"true"_s);
        QVERIFY(converter().allReady());
    }

    void validOutputIsJudgedBySize() {
        const QString file = engines->writeFile(u"out.bin"_s, QByteArray(200, 'x'));
        QVERIFY(Converter::isValidOutput(file, 200));
        QVERIFY(!Converter::isValidOutput(file, 201));
        QVERIFY(!Converter::isValidOutput(engines->path(u"missing"_s), 0));
    }

    void anEngineThatNeverFinishesFailsItsStageWithTheLogSoFar() {
        using namespace std::chrono_literals;
        engines->installLilypond(u"echo 'Processing'; exec sleep 30"_s);
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both,
                                                u"letter"_s, {.engineTimeout = 500ms});
        QVERIFY(!result.has_value());
        const auto& error = std::get<ConversionError>(result.error());
        QCOMPARE(error.stage(), u"LilyPond engraving"_s);
        QVERIFY(error.detail().startsWith(
            u"The engine did not finish within 0.5 seconds and was stopped.\n\n$ "_s));
        QCOMPARE(error.detail().count(u"$ "_s), 3);
        QVERIFY(error.detail().endsWith(u"Processing\n\n"_s));
    }

    void aCancelledConversionRunsNoFurtherEngine() {
        CancellationToken cancellation;
        engines->installMuseScore(u": > \"$2.ran\"; exec sleep 30"_s);
        cancellation.cancel();
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both,
                                                u"letter"_s, {.cancellation = &cancellation});
        QVERIFY(!result.has_value());
        QVERIFY(std::holds_alternative<ConversionCancelled>(result.error()));
        QCOMPARE(describe(result.error()), u"Conversion cancelled."_s);
        // Nothing ran: the conversion was cancelled before its first engine, and only the MIDI
        // copy and the import settings prepared for MuseScore are there.
        const QString work =
            engines->temporaryDirectory() + u'/' + workDirectories().value(0) + u'/';
        QCOMPARE(QDir(work).entryList(QDir::Files),
                 (QStringList{u"import-options.xml"_s, u"Song.mid"_s}));
    }
};

QTEST_GUILESS_MAIN(TestConverter)
#include "tst_converter.moc"
