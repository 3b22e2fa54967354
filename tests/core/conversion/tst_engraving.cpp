// What the engraving settings and the MIDI preparation change in real scores, checked in the
// PDF that the real MuseScore, musicxml2ly and LilyPond produce.

#include "core/conversion/Converter.h"
#include "core/conversion/LilyPondEngraving.h"
#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString& pdf, int firstPage = 1, int lastPage = 0) {
    QStringList arguments{u"-f"_s, QString::number(firstPage)};
    if (lastPage > 0) {
        arguments << u"-l"_s << QString::number(lastPage);
    }
    return run(u"pdftotext"_s, arguments << pdf << u"-"_s);
}

int pageCount(const QString& pdf) {
    return QRegularExpression(u"Pages:\\s+(\\d+)"_s)
        .match(run(u"pdfinfo"_s, {pdf}))
        .captured(1)
        .toInt();
}

// Every word of the PDF that does not lie wholly on its page, as "page: word".
QStringList wordsOffThePage(const QString& pdf) {
    static const QRegularExpression page(u"<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"_s);
    static const QRegularExpression word(
        u"<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" "
        u"xMax=\"([-\\d.]+)\" yMax=\"([-\\d.]+)\">([^<]*)</word>"_s);
    const QString html = run(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    QStringList offPage;
    int pageNumber = 0;
    double width = 0;
    double height = 0;
    for (const QString& line : html.split(u'\n')) {
        if (const auto pageMatch = page.match(line); pageMatch.hasMatch()) {
            ++pageNumber;
            width = pageMatch.captured(1).toDouble();
            height = pageMatch.captured(2).toDouble();
        } else if (const auto wordMatch = word.match(line); wordMatch.hasMatch()) {
            if (wordMatch.captured(1).toDouble() < 0 || wordMatch.captured(2).toDouble() < 0 ||
                wordMatch.captured(3).toDouble() > width ||
                wordMatch.captured(4).toDouble() > height) {
                offPage << u"%1: %2"_s.arg(pageNumber).arg(wordMatch.captured(5));
            }
        }
    }
    if (pageNumber == 0) {
        offPage << u"no pages"_s;
    }
    return offPage;
}

// Two tracks whose names MuseScore turns into "Instrument, Track": one in Latin-1, as most
// files of the nineties have it, and one longer than forty characters.
QByteArray tuneWithAwkwardNames(int bars) {
    QList<test::MidiFileBuilder::Note> melody;
    QList<test::MidiFileBuilder::Note> bass;
    static constexpr int steps[] = {0, 2, 4, 5, 7, 9, 11, 12};
    for (int index = 0; index < bars * 4; ++index) {
        melody.append({72 + steps[index % 8], 480});
        bass.append({48 - steps[index % 8], 480});
    }
    test::MidiFileBuilder builder;
    builder.track(u"Spxr med melodi"_s, melody, 0)
        .track(u"Accompaniment for the left hand of the pianist"_s, bass, 1);
    // Same length in both encodings, so the track's length field stays right.
    return builder.build().replace("Spxr", "Sp\xe5r");
}

} // namespace

class TestEngraving : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;

    Converter converter() const {
        PlatformProfile profile = PlatformProfile::freedesktop();
        profile.temporaryDirectory = scratch.filePath(u"tmp"_s);
        return Converter(profile);
    }

    QString writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(scratch.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write the test file");
        }
        return file.fileName();
    }

    // The three engine runs with nothing of Velmarto between them, on the original file.
    QString barePdf(const QString& midi) const {
        const QString work = scratch.filePath(u"bare"_s);
        QDir().mkpath(work);
        QProcess museScore;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        museScore.setProcessEnvironment(environment);
        museScore.start(*converter().locateMuseScore(),
                        {u"-o"_s, work + u"/bare.musicxml"_s, midi});
        museScore.waitForFinished(-1);
        run(u"/usr/bin/musicxml2ly"_s, {work + u"/bare.musicxml"_s, u"-o"_s, work + u"/bare.ly"_s});
        run(u"/usr/bin/lilypond"_s, {u"-o"_s, work + u"/bare"_s, work + u"/bare.ly"_s});
        return work + u"/bare.pdf"_s;
    }

private slots:
    void initTestCase() {
        QVERIFY2(converter().allReady(),
                 "MuseScore and LilyPond must be installed (scripts/install-deps)");
        // lilypond runs in this folder, so a payload's relative "touch" would land here.
        QVERIFY(QDir::setCurrent(scratch.path()));
    }

    void titledScoresWithReadableNames_data() {
        QTest::addColumn<ConversionEngine>("engine");
        QTest::newRow("best") << ConversionEngine::both;
        QTest::newRow("fast") << ConversionEngine::museScoreOnly;
    }

    void titledScoresWithReadableNames() {
        QFETCH(ConversionEngine, engine);
        const QString midi = writeFile(u"harp_harmony.mid"_s, tuneWithAwkwardNames(24));
        const auto result = converter().convert(QUrl::fromLocalFile(midi), engine, u"a4"_s);
        QVERIFY2(result, result ? "" : qPrintable(describe(result.error())));
        const QString pdf = result->pdfURL.toLocalFile();

        QVERIFY(pdfText(pdf, 1, 1).contains(u"Harp Harmony"_s));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(u"Spår"_s), qPrintable(text.left(400)));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
        if (engine == ConversionEngine::both) {
            // The long name is wrapped over several lines, each of them on the page.
            QVERIFY(text.contains(u"pianist"_s));
            QVERIFY(!text.contains(u"www.lilypond.org"_s));
            QCOMPARE(wordsOffThePage(pdf), QStringList());
        }
        // The transcript names the prepared copy that MuseScore actually read.
        QVERIFY(result->log.contains(u' ' + pdf.chopped(4) + u".mid\n"_s));
    }

    void lilyPondBreaksTheLinesInNoMorePagesThanTheBareEngines() {
        const QString midi = writeFile(u"long_tune.mid"_s, tuneWithAwkwardNames(96));
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY2(result, result ? "" : qPrintable(describe(result.error())));
        const int pages = pageCount(result->pdfURL.toLocalFile());
        const int barePages = pageCount(barePdf(midi));
        qInfo("pages: %d with Velmarto, %d with the bare engines", pages, barePages);
        QVERIFY(pages > 0);
        QVERIFY(pages <= barePages);
    }

    void everySyllableIsPrintedOnce() {
        // One sung voice doubled an octave lower on a second channel. MuseScore makes a part of
        // each channel and hangs the track's lyrics on the first part once per part.
        const QStringList syllables{u"Lumo"_s,  u"Varki"_s, u"Senta"_s, u"Dorib"_s,
                                    u"Quell"_s, u"Mirva"_s, u"Tobla"_s, u"Zenko"_s};
        QList<test::MidiFileBuilder::Note> notes;
        for (qsizetype index = 0; index < syllables.size(); ++index) {
            notes.append({int(67 + index % 3), 480, syllables.at(index)});
        }
        test::MidiFileBuilder builder;
        builder.doubledTrack(u"Choir"_s, notes, 0, 1);
        const QString midi = writeFile(u"sung_tune.mid"_s, builder.build());

        const QString bareText = pdfText(barePdf(midi));
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY2(result, result ? "" : qPrintable(describe(result.error())));
        const QString text = pdfText(result->pdfURL.toLocalFile());
        // Without the repeats removed, musicxml2ly sings each syllable twice over two notes, and
        // the second half of the words finds no notes left.
        QVERIFY2(bareText.contains(u"Lumo Lumo Varki Varki"_s), qPrintable(bareText));
        QVERIFY2(!bareText.contains(syllables.last()), qPrintable(bareText));
        for (const QString& syllable : syllables) {
            QVERIFY2(text.count(syllable) == 1, qPrintable(syllable + u": "_s + text));
        }
    }

    void laterSystemsLeaveOutEmptyStavesButNeverAllOfThem() {
        // Three systems, broken by hand (the prelude turns \break into nothing): both staves
        // play, both rest, only the lower one plays.
        const QString score = LilyPondEngraving(std::nullopt, {}, {}).prelude() + uR"(
forceBreak = #(make-music 'LineBreakEvent 'break-permission 'force)
\score {
  <<
    \new Staff \with { instrumentName = "Upper voice" shortInstrumentName = "Up" }
      { c'1 \forceBreak R1 \forceBreak R1 }
    \new DrumStaff \with { instrumentName = "Lower voice" shortInstrumentName = "Low" }
      \drummode { hh1 \forceBreak R1 \forceBreak hh1 }
  >>
}
)"_s;
        const QString source = writeFile(u"empty_staves.ly"_s, score.toUtf8());
        run(u"/usr/bin/lilypond"_s, {u"-o"_s, scratch.filePath(u"empty_staves"_s), source});
        const QString text = pdfText(scratch.filePath(u"empty_staves.pdf"_s));
        // The top staff stays in every system, so the resting one does not vanish; the lower
        // staff is left out of it.
        QCOMPARE(text.count(QRegularExpression(u"\\bUp\\b"_s)), 2);
        QCOMPARE(text.count(QRegularExpression(u"\\bLow\\b"_s)), 1);
    }

    void anUnescapedTitleWouldRunCode() {
        // The payload itself works: written into the header without escaping, lilypond runs it.
        const QString source =
            writeFile(u"unescaped.ly"_s, "\\version \"2.24.0\"\n\\header { title = \"x\" "
                                         "#(system \"touch unescaped-ran\") %\" }\n{ c'1 }\n");
        run(u"/usr/bin/lilypond"_s, {u"-o"_s, scratch.filePath(u"unescaped"_s), source});
        QVERIFY(QFile::exists(scratch.filePath(u"unescaped-ran"_s)));
    }

    void hostileTitlesShowAsTyped_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("customTitle");
        QTest::addColumn<QString>("shownTitle");
        QTest::newRow("file name") << u"x\\\" #(system \"touch from-name\") %.mid"_s << QString()
                                   << u"X\\\" #(system \"touch From-name\") %"_s;
        QTest::newRow("typed title, the payload shown to work above")
            << u"song.mid"_s << u"x\" #(system \"touch from-title\") %"_s
            << u"x\" #(system \"touch from-title\") %"_s;
        QTest::newRow("typed title with a backslash")
            << u"song.mid"_s << u"x\\\" #(system \"touch from-backslash\") %"_s
            << u"x\\\" #(system \"touch from-backslash\") %"_s;
    }

    void hostileTitlesShowAsTyped() {
        QFETCH(QString, fileName);
        QFETCH(QString, customTitle);
        QFETCH(QString, shownTitle);
        const QString midi = writeFile(fileName, test::MidiFileBuilder::twoTrackTune().build());
        const ScoreTitle title =
            customTitle.isEmpty() ? ScoreTitle::fromFileName() : ScoreTitle::custom(customTitle);
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both,
                                                u"a4"_s, {}, title);
        QVERIFY2(result, result ? "" : qPrintable(describe(result.error())));
        const QStringList created = QDir(scratch.path()).entryList({u"from-*"_s, u"From-*"_s});
        QCOMPARE(created, QStringList());
        const QString firstPage = pdfText(result->pdfURL.toLocalFile(), 1, 1);
        QVERIFY2(firstPage.contains(shownTitle), qPrintable(firstPage));
    }

    void noTitleMeansNone() {
        const QString midi = writeFile(u"untitled_tune.mid"_s, tuneWithAwkwardNames(4));
        for (const ConversionEngine engine :
             {ConversionEngine::both, ConversionEngine::museScoreOnly}) {
            const auto result = converter().convert(QUrl::fromLocalFile(midi), engine, u"a4"_s, {},
                                                    ScoreTitle::none());
            QVERIFY2(result, result ? "" : qPrintable(describe(result.error())));
            QVERIFY(!pdfText(result->pdfURL.toLocalFile()).contains(u"Untitled Tune"_s));
        }
    }
};

QTEST_GUILESS_MAIN(TestEngraving)
#include "tst_engraving.moc"
