// Whether "Best" prints the music MuseScore read: drums on their lines and every voice in its
// bars. Checked in what the real MuseScore, musicxml2ly and LilyPond produce, with LilyPond
// reporting where it put each note head.

#include "core/conversion/Converter.h"
#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

using Notes = QList<test::MidiFileBuilder::TimedNote>;

QString run(const QString& program, const QStringList& arguments,
            const QString& qpaPlatform = QString()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!qpaPlatform.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, qpaPlatform);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAll());
}

// Staff position (0 on the middle line of a treble staff) and note head of every drum note, as
// "position head".
QStringList drumHeadsInMusicXml(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {u"unreadable"_s};
    }
    static const QRegularExpression note(u"<note[ >].*?</note>"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression display(
        u"<display-step>([A-G])</display-step>\\s*<display-octave>(\\d)</display-octave>"_s);
    static const QRegularExpression head(u"<notehead[^>]*>([a-z-]+)</notehead>"_s);
    const QString text = QString::fromUtf8(file.readAll());
    QStringList heads;
    for (auto notes = note.globalMatch(text); notes.hasNext();) {
        const QString element = notes.next().captured();
        const auto step = display.match(element);
        if (!element.contains(u"<unpitched>"_s) || !step.hasMatch()) {
            continue;
        }
        const int position = int(QStringView(u"CDEFGAB").indexOf(step.captured(1).at(0))) +
                             7 * step.captured(2).toInt() - (6 + 7 * 4);
        const QString shape = head.match(element).captured(1);
        heads << u"%1 %2"_s.arg(position).arg(shape == u"x"_s ? u"cross"_s : u"normal"_s);
    }
    std::ranges::sort(heads);
    return heads;
}

} // namespace

class TestNotation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;

    Converter converter() const {
        PlatformProfile profile = PlatformProfile::freedesktop();
        profile.temporaryDirectory = scratch.filePath(u"tmp"_s);
        return Converter(profile);
    }

    QString writeMidi(const QString& name, const test::MidiFileBuilder& builder) const {
        const QString path = scratch.filePath(name);
        if (!builder.writeTo(path)) {
            qFatal("cannot write the test file");
        }
        return path;
    }

    ConversionResult convert(const QString& midi) const {
        const auto result = converter().convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        if (!result) {
            qFatal("%s", qPrintable(describe(result.error())));
        }
        return *result;
    }

    // Engraves the source again with a note head reporting its staff position and style.
    QStringList drumHeadsEngraved(const QString& lilypondSource) const {
        const QString probe = scratch.filePath(u"probe.ly"_s);
        QFile file(probe);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(R"(\layout { \context { \DrumVoice \override NoteHead.after-line-breaking =
  #(lambda (grob) (ly:message "drum-head ~a ~a" (ly:grob-property grob 'staff-position)
                   (let ((style (ly:grob-property grob 'style)))
                     (if (symbol? style) style 'normal)))) } }
)") < 0) {
            qFatal("cannot write the probe");
        }
        file.close();
        const QString log =
            run(u"lilypond"_s, {u"-dinclude-settings="_s + probe, u"-dno-print-pages"_s, u"-o"_s,
                                scratch.filePath(u"probed"_s), lilypondSource});
        static const QRegularExpression report(u"^drum-head (-?\\d+ \\w+)$"_s,
                                               QRegularExpression::MultilineOption);
        QStringList heads;
        for (auto matches = report.globalMatch(log); matches.hasNext();) {
            heads << matches.next().captured(1);
        }
        std::ranges::sort(heads);
        return heads;
    }

private slots:
    void initTestCase() {
        QVERIFY2(converter().allReady(),
                 "MuseScore and LilyPond must be installed (scripts/install-deps)");
        QVERIFY(QDir::setCurrent(scratch.path()));
    }

    void drumsSitWhereMuseScoreDisplaysThem() {
        // Bass drum, snare, closed hi-hat, crash and ride cymbals, low tom: one each beat.
        static constexpr int kit[] = {36, 42, 38, 42, 36, 49, 38, 51, 45, 42};
        Notes drums;
        for (int beat = 0; beat < 32; ++beat) {
            drums.append({beat * 480, 240, kit[beat % std::size(kit)]});
        }
        test::MidiFileBuilder builder;
        builder.timedTrack(u"Drums"_s, drums, 9);
        const ConversionResult result = convert(writeMidi(u"drums.mid"_s, builder));

        const QStringList displayed = drumHeadsInMusicXml(result.musicXMLURL->toLocalFile());
        const QStringList engraved = drumHeadsEngraved(result.lilypondURL->toLocalFile());
        QCOMPARE(engraved, displayed);
        // The bass drum below the middle line, the snare above it, cymbals with crosses.
        QVERIFY2(displayed.contains(u"-3 normal"_s) && displayed.contains(u"1 normal"_s) &&
                     displayed.contains(u"5 cross"_s),
                 qPrintable(displayed.join(u", "_s)));
    }

    void everyVoiceStaysInItsBars_data() {
        using Note = test::MidiFileBuilder::TimedNote;
        QTest::addColumn<Notes>("notes");
        // A piano part leaping from the treble to the bass in the middle of each bar, with two
        // voices: MuseScore would change the clef there, and musicxml2ly cannot place that.
        Notes leaps;
        for (int bar = 0; bar < 16; ++bar) {
            const int start = bar * 1920;
            leaps << Note{start, 960, 84 + bar % 5} << Note{start + 240, 240, 79}
                  << Note{start + 480, 480, 81} << Note{start + 960, 960, 43}
                  << Note{start + 1080, 360, 36 + bar % 4} << Note{start + 1440, 480, 31 + bar % 3};
        }
        QTest::newRow("clef changes") << leaps;
        // Seven notes in a beat, which MuseScore writes as a septuplet.
        Notes runs;
        for (int bar = 0; bar < 8; ++bar) {
            const int start = bar * 1920;
            runs << Note{start, 480, 72} << Note{start + 480, 480, 74}
                 << Note{start + 1440, 480, 76};
            for (int step = 0; step < 7; ++step) {
                runs << Note{start + 960 + (step * 480 + 3) / 7, 60, 60 + 2 * step};
            }
        }
        QTest::newRow("septuplets") << runs;
    }

    void everyVoiceStaysInItsBars() {
        QFETCH(Notes, notes);
        test::MidiFileBuilder builder;
        builder.timedTrack(u"Piano"_s, notes);
        const QString midi =
            writeMidi(QString::fromUtf8(QTest::currentDataTag()) + u".mid"_s, builder);

        // The same chain without Velmarto's import settings slips.
        const QString bare = scratch.filePath(u"bare"_s);
        run(*converter().locateMuseScore(), {u"-o"_s, bare + u".musicxml"_s, midi}, u"offscreen"_s);
        run(u"musicxml2ly"_s, {bare + u".musicxml"_s, u"-o"_s, bare + u".ly"_s});
        const QString bareLog = run(u"lilypond"_s, {u"-o"_s, bare, bare + u".ly"_s});
        QVERIFY2(bareLog.contains(u"barcheck failed"_s), qPrintable(bareLog));

        // LilyPond's transcript, in the conversion's log, names every failed bar check.
        const ConversionResult result = convert(midi);
        QCOMPARE(result.log.count(u"warning: barcheck failed"_s), 0);
        QVERIFY(result.log.contains(u"lilypond"_s));
    }
};

QTEST_GUILESS_MAIN(TestNotation)
#include "tst_notation.moc"
