// Runs the built velmarto-cli the way a script would, against the real engines.

#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;

    Run cli(const QStringList& arguments) const {
        QProcess process;
        process.setWorkingDirectory(scratch.path());
        process.start(QStringLiteral(VELMARTO_CLI_PATH), arguments);
        process.waitForFinished(-1);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString file(const QString& name) const { return scratch.filePath(name); }

    // Processes whose command line names the file: the engines converting it.
    static QStringList enginesWorkingOn(const QString& fileName) {
        QStringList found;
        for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
            QFile commandLine(u"/proc/"_s + pid + u"/cmdline"_s);
            if (pid.toInt() > 0 && commandLine.open(QIODevice::ReadOnly) &&
                commandLine.readAll().contains(fileName.toUtf8()) &&
                !QFileInfo(u"/proc/"_s + pid + u"/exe"_s)
                     .symLinkTarget()
                     .endsWith(u"velmarto-cli"_s)) {
                found << pid;
            }
        }
        return found;
    }

    static QByteArray head(const QString& path, int bytes) {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.read(bytes) : QByteArray();
    }

private slots:
    void initTestCase() {
        QVERIFY(test::MidiFileBuilder::twoTrackTune().writeTo(file(u"tune.mid"_s)));
        QVERIFY(test::MidiFileBuilder::scale(2).writeTo(file(u"scale.mid"_s)));
        QFile noise(file(u"noise.mid"_s));
        QVERIFY(noise.open(QIODevice::WriteOnly));
        noise.write("not a midi file");
        noise.close();
        QVERIFY(QFile::link(file(u"tune.mid"_s), file(u"link-to-tune.pdf"_s)));
        QCOMPARE(::mkfifo(QFile::encodeName(file(u"pipe.mid"_s)).constData(), 0600), 0);
    }

    void helpAndVersion() {
        const Run help = cli({u"--help"_s});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(u"Usage: velmarto-cli COMMAND"_s));
        QVERIFY(help.out.contains(u"engines"_s));

        const Run convertHelp = cli({u"convert"_s, u"--help"_s});
        QCOMPARE(convertHelp.exitCode, 0);
        QVERIFY(convertHelp.out.startsWith(u"Usage: velmarto-cli convert [options] FILE.mid..."_s));
        QVERIFY(convertHelp.out.contains(u"--musicxml <OUT.musicxml>"_s));

        const Run version = cli({u"--version"_s});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith(u"velmarto-cli "_s));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList() << u"missing command"_s;
        QTest::newRow("unknown command")
            << QStringList{u"engrave"_s} << u"unknown command 'engrave'"_s;
        QTest::newRow("unknown option")
            << QStringList{u"convert"_s, u"--loud"_s, u"tune.mid"_s} << u"Unknown option 'loud'"_s;
        QTest::newRow("no files") << QStringList{u"convert"_s} << u"at least one MIDI file"_s;
        QTest::newRow("missing value") << QStringList{u"convert"_s, u"tune.mid"_s, u"--paper"_s}
                                       << u"Missing value after '--paper'"_s;
        QTest::newRow("-o with two files")
            << QStringList{u"convert"_s, u"-o"_s, u"x.pdf"_s, u"tune.mid"_s, u"scale.mid"_s}
            << u"single input file"_s;
        QTest::newRow("--fast with --musicxml")
            << QStringList{u"convert"_s, u"--fast"_s, u"--musicxml"_s, u"x.musicxml"_s,
                           u"tune.mid"_s}
            << u"--fast produces no MusicXML"_s;
        QTest::newRow("--fast with MusicXML output")
            << QStringList{u"convert"_s, u"--fast"_s, u"-o"_s, u"x.musicxml"_s, u"tune.mid"_s}
            << u"--fast produces no MusicXML"_s;
        QTest::newRow("MusicXML output with --musicxml")
            << QStringList{u"convert"_s,    u"-o"_s,         u"x.XML"_s,
                           u"--musicxml"_s, u"y.musicxml"_s, u"tune.mid"_s}
            << u"-o already names the MusicXML"_s;
        QTest::newRow("--played maybe")
            << QStringList{u"convert"_s, u"--played"_s, u"maybe"_s, u"tune.mid"_s}
            << u"--played takes auto, yes or no, not 'maybe'"_s;
        QTest::newRow("--quantize 12")
            << QStringList{u"convert"_s, u"--quantize"_s, u"12"_s, u"tune.mid"_s}
            << u"--quantize takes auto, 4, 8, 16, 32 or 64, not '12'"_s;
        QTest::newRow("--key H") << QStringList{u"convert"_s, u"--key"_s, u"H"_s, u"tune.mid"_s}
                                 << u"--key takes auto, file or a key such as C, Gm, F# or Bbm"_s;
        QTest::newRow("--meter 3/5")
            << QStringList{u"convert"_s, u"--meter"_s, u"3/5"_s, u"tune.mid"_s}
            << u"--meter takes auto, file or a time signature"_s;
        QTest::newRow("--tracks 3-1")
            << QStringList{u"convert"_s, u"--tracks"_s, u"3-1"_s, u"tune.mid"_s}
            << u"--tracks takes track numbers"_s;
        QTest::newRow("--swing </Swing>")
            << QStringList{u"convert"_s, u"--swing"_s, u"</Swing><Swing>2"_s, u"tune.mid"_s}
            << u"--swing takes none, swing or shuffle"_s;
        QTest::newRow("MusicXML input") << QStringList{u"convert"_s, u"evil.musicxml"_s}
                                        << u"'evil.musicxml' is not a MIDI file (.mid or .midi)"_s;
        QTest::newRow("one of several not MIDI")
            << QStringList{u"convert"_s, u"tune.mid"_s, u"tune"_s}
            << u"'tune' is not a MIDI file"_s;
        QTest::newRow("PDF over its MIDI file")
            << QStringList{u"convert"_s, u"-o"_s, u"./tune.mid"_s, u"tune.mid"_s}
            << u"'./tune.mid' is an input file and would be overwritten"_s;
        QTest::newRow("PDF over the MIDI file through a link")
            << QStringList{u"convert"_s, u"-o"_s, u"link-to-tune.pdf"_s, u"tune.mid"_s}
            << u"'link-to-tune.pdf' is an input file"_s;
        QTest::newRow("MusicXML over the MIDI file")
            << QStringList{u"convert"_s, u"--musicxml"_s, u"tune.mid"_s, u"tune.mid"_s}
            << u"'tune.mid' is an input file"_s;
        QTest::newRow("MusicXML over the PDF")
            << QStringList{u"convert"_s,    u"-o"_s,           u"x.pdf"_s,
                           u"--musicxml"_s, u"out/../x.pdf"_s, u"tune.mid"_s}
            << u"two outputs would both be written to 'out/../x.pdf'"_s;
        QTest::newRow("unknown paper")
            << QStringList{u"convert"_s, u"--paper"_s, u"foolscap"_s, u"tune.mid"_s}
            << u"unknown paper size 'foolscap' (known sizes: a3, a4, a5, a6, b4, b5, letter, "
               u"legal, tabloid, ledger, executive)"_s;
        QTest::newRow("help-all") << QStringList{u"convert"_s, u"--help-all"_s}
                                  << u"Unknown option 'help-all'"_s;
        for (const QString& seconds : {u"0"_s, u"-3"_s, u"soon"_s}) {
            QTest::addRow("timeout %s", qPrintable(seconds))
                << QStringList{u"convert"_s, u"--timeout"_s, seconds, u"tune.mid"_s}
                << u"--timeout needs a positive number of seconds"_s;
        }
        QTest::newRow("no jobs") << QStringList{u"convert"_s, u"-j"_s, u"0"_s, u"tune.mid"_s}
                                 << u"--jobs takes a whole number of at least 1, not '0'"_s;
        QTest::newRow("jobs not a number")
            << QStringList{u"convert"_s, u"--jobs"_s, u"many"_s, u"tune.mid"_s} << u"not 'many'"_s;
        QTest::newRow("--title with --no-title")
            << QStringList{u"convert"_s, u"--title"_s, u"Song"_s, u"--no-title"_s, u"tune.mid"_s}
            << u"--title and --no-title exclude each other"_s;
        QTest::newRow("FIFO input")
            << QStringList{u"convert"_s, u"pipe.mid"_s} << u"'pipe.mid' is not a regular file"_s;
        QTest::newRow("device output")
            << QStringList{u"convert"_s, u"-o"_s, u"/dev/null"_s, u"tune.mid"_s}
            << u"“/dev/null” is not a regular file."_s;
        QTest::newRow("output in a missing folder")
            << QStringList{u"convert"_s, u"-o"_s, u"nowhere/x.pdf"_s, u"tune.mid"_s}
            << u"nowhere” does not exist."_s;
        QTest::newRow("MusicXML into a folder")
            << QStringList{u"convert"_s, u"--musicxml"_s, u"/tmp"_s, u"tune.mid"_s}
            << u"“/tmp” is a folder."_s;
        QTest::newRow("same output twice")
            << QStringList{u"convert"_s, u"tune.mid"_s, u"sub/../tune.mid"_s}
            << u"both be written"_s;
    }

    void usageErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = cli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(u"velmarto-cli: "_s) && run.err.contains(message),
                 qPrintable(run.err));
        QVERIFY(run.err.endsWith(u"Try 'velmarto-cli --help' for more information.\n"_s));
        QVERIFY(head(file(u"tune.mid"_s), 4) == "MThd");
    }

    void enginesListsWhatIsInstalled() {
        const Run run = cli({u"engines"_s});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith(u"MuseScore    found    /"_s));
        QVERIFY(lines.at(1).startsWith(u"musicxml2ly  found    /"_s));
        QVERIFY(lines.at(2).startsWith(u"lilypond     found    /"_s));
    }

    void convertsWithBothPresets() {
        const Run best = cli({u"convert"_s, u"--paper"_s, u"a4"_s, u"--musicxml"_s,
                              u"out/tune.musicxml"_s, u"--log"_s, u"tune.mid"_s});
        // The MusicXML destination's folder does not exist yet: said before any engine runs.
        QCOMPARE(best.exitCode, 2);
        QVERIFY(best.err.contains(u"/out” does not exist."_s));
        QVERIFY(!QFile::exists(file(u"tune.pdf"_s)));

        QVERIFY(QDir(scratch.path()).mkdir(u"out"_s));
        const Run retry =
            cli({u"convert"_s, u"--musicxml"_s, u"out/tune.musicxml"_s, u"--log"_s, u"tune.mid"_s});
        QCOMPARE(retry.exitCode, 0);
        QCOMPARE(head(file(u"tune.pdf"_s), 5), QByteArray("%PDF-"));
        QVERIFY(head(file(u"out/tune.musicxml"_s), 500).contains("score-partwise"));
        QCOMPARE(retry.out.count(u"\n$ "_s) + (retry.out.startsWith(u"$ "_s) ? 1 : 0), 3);
        QVERIFY(retry.out.endsWith(u"tune.mid \u2192 "_s + file(u"tune.pdf"_s) + u'\n'));

        const Run fast = cli({u"convert"_s, u"--fast"_s, u"-o"_s, u"fast.pdf"_s, u"tune.mid"_s});
        QCOMPARE(fast.exitCode, 0);
        QCOMPARE(fast.out, u"tune.mid \u2192 fast.pdf\n"_s);
        QCOMPARE(head(file(u"fast.pdf"_s), 5), QByteArray("%PDF-"));
    }

    void aMusicXmlOutputIsImportedWithoutEngraving() {
        const Run run =
            cli({u"convert"_s, u"--log"_s, u"-o"_s, u"only.musicxml"_s, u"scale.mid"_s});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(head(file(u"only.musicxml"_s), 500).contains("score-partwise"));
        QVERIFY2(run.out.startsWith(u"$ "_s) && run.out.count(u"\n$ "_s) == 0, qPrintable(run.out));
        QVERIFY(run.out.endsWith(u"scale.mid \u2192 only.musicxml\n"_s));
        QVERIFY(!QFileInfo::exists(file(u"scale.pdf"_s)));
    }

    void aRecordingIsQuantisedUnlessTheUserSaysItWasNotPlayed() {
        QFile waltz(file(u"waltz.mid"_s));
        QVERIFY(waltz.open(QIODevice::WriteOnly));
        waltz.write(test::MidiFileBuilder::playedWaltz(12, 0));
        waltz.close();
        // Quantised, the score follows the player's tempo as it swells and slackens; left to
        // MuseScore, the recording keeps its one tempo.
        const auto tempoMarks = [this](const QString& musicXml) {
            return QString::fromUtf8(head(file(musicXml), 1 << 20)).count(u"<sound tempo"_s);
        };
        QCOMPARE(cli({u"convert"_s, u"-o"_s, u"auto.musicxml"_s, u"waltz.mid"_s}).exitCode, 0);
        QVERIFY(tempoMarks(u"auto.musicxml"_s) > 1);
        QCOMPARE(
            cli({u"convert"_s, u"--played"_s, u"no"_s, u"-o"_s, u"raw.musicxml"_s, u"waltz.mid"_s})
                .exitCode,
            0);
        QCOMPARE(tempoMarks(u"raw.musicxml"_s), 1);
    }

    // Each option against a file on which MuseScore's own import does otherwise: the MusicXML
    // holds the pattern without the option and not with it, or the other way round.
    void importOptionsTakeEffect_data() {
        using Builder = test::MidiFileBuilder;
        using Timed = Builder::TimedNote;
        QTest::addColumn<QByteArray>("midi");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matchesWithoutTheOptions");

        QList<Timed> heldUnderRunning;
        QList<Timed> sixteenths;
        QList<Timed> triplets;
        QList<Timed> swung;
        QList<Timed> wideChords;
        QList<Timed> leaping;
        for (int beat = 0; beat < 16; ++beat) {
            const int start = beat * 480;
            if (beat % 4 == 0) {
                heldUnderRunning.append({start, 1920, 64});
            }
            heldUnderRunning.append({start, 480, 67 + beat % 4});
            for (int step = 0; step < 4; ++step) {
                sixteenths.append({start + step * 120, 120, 60 + (beat + step) % 8});
            }
            for (int step = 0; step < 3; ++step) {
                triplets.append({start + step * 160, 160, 62 + step});
            }
            swung.append({start, 320, 67});
            swung.append({start + 320, 160, 69});
            wideChords.append({start, 480, 43});
            wideChords.append({start, 480, 72 + beat % 3});
            leaping.append({start, 480, beat % 2 == 0 ? 74 : 45});
        }
        const auto oneTrack = [](const QList<Timed>& notes) {
            Builder builder;
            builder.timedTrack(u"Piano"_s, notes);
            return builder.build();
        };
        const QByteArray scale = Builder::scale(4).build();

        QTest::newRow("voices") << oneTrack(heldUnderRunning) << QStringList{u"--voices"_s, u"1"_s}
                                << u"<voice>2</voice>"_s << true;
        QTest::newRow("tracks") << Builder::twoTrackTune().build()
                                << QStringList{u"--tracks"_s, u"2"_s} << u"<octave>5</octave>"_s
                                << true;
        // MuseScore keeps a key signature's sharps or flats but not its mode.
        QTest::newRow("key") << scale << QStringList{u"--key"_s, u"Bbm"_s}
                             << u"<fifths>-5</fifths>"_s << false;
        QTest::newRow("meter") << scale << QStringList{u"--meter"_s, u"3/4"_s}
                               << u"<beats>3</beats>\\s*<beat-type>4</beat-type>"_s << false;
        QTest::newRow("quantize") << oneTrack(sixteenths) << QStringList{u"--quantize"_s, u"4"_s}
                                  << u"<type>16th</type>"_s << true;
        QTest::newRow("tuplets") << oneTrack(triplets) << QStringList{u"--tuplets"_s, u"none"_s}
                                 << u"<time-modification>"_s << true;
        QTest::newRow("swing") << oneTrack(swung) << QStringList{u"--swing"_s, u"swing"_s}
                               << u"<time-modification>"_s << true;
        QTest::newRow("no piano split")
            << oneTrack(wideChords) << QStringList{u"--split-piano"_s, u"no"_s}
            << u"<staves>2</staves>"_s << true;
        QTest::newRow("piano split")
            << oneTrack(leaping) << QStringList{u"--split-piano"_s, u"yes"_s}
            << u"<staves>2</staves>"_s << false;
    }

    void importOptionsTakeEffect() {
        QFETCH(QByteArray, midi);
        QFETCH(QStringList, options);
        QFETCH(QString, pattern);
        QFETCH(bool, matchesWithoutTheOptions);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
        QFile input(file(name + u".mid"_s));
        QVERIFY(input.open(QIODevice::WriteOnly) && input.write(midi) == midi.size());
        input.close();
        const QRegularExpression expression(pattern);
        const auto matches = [&](const QStringList& chosen, const QString& output) {
            const Run run = cli(QStringList{u"convert"_s} + chosen +
                                QStringList{u"-o"_s, output, name + u".mid"_s});
            return run.exitCode == 0 &&
                   QString::fromUtf8(head(file(output), 1 << 22)).contains(expression);
        };
        QCOMPARE(matches({}, name + u"-auto.musicxml"_s), matchesWithoutTheOptions);
        QCOMPARE(matches(options, name + u"-chosen.musicxml"_s), !matchesWithoutTheOptions);
    }

    void tracksThatAreNotInTheFileFailTheConversion() {
        const Run run = cli({u"convert"_s, u"--tracks"_s, u"3-4"_s, u"tune.mid"_s});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(u"The file has 2 tracks with notes; none of the chosen tracks "
                                  u"(3, 4) is among them."_s),
                 qPrintable(run.err));
    }

    void titleOptions() {
        const auto firstPage = [this](const QString& pdf) {
            QProcess pdftotext;
            pdftotext.start(u"pdftotext"_s, {u"-l"_s, u"1"_s, file(pdf), u"-"_s});
            pdftotext.waitForFinished(-1);
            return QString::fromUtf8(pdftotext.readAllStandardOutput());
        };
        QCOMPARE(cli({u"convert"_s, u"-o"_s, u"default.pdf"_s, u"tune.mid"_s}).exitCode, 0);
        QVERIFY(firstPage(u"default.pdf"_s).contains(u"Tune"_s));
        QCOMPARE(cli({u"convert"_s, u"--title"_s, u"Ål og \"Ørn\""_s, u"-o"_s, u"typed.pdf"_s,
                      u"tune.mid"_s})
                     .exitCode,
                 0);
        QVERIFY(firstPage(u"typed.pdf"_s).contains(u"Ål og \"Ørn\""_s));
        QCOMPARE(
            cli({u"convert"_s, u"--no-title"_s, u"-o"_s, u"none.pdf"_s, u"tune.mid"_s}).exitCode,
            0);
        QVERIFY(!firstPage(u"none.pdf"_s).contains(u"Tune"_s));
    }

    void anExistingOutputIsReplaced() {
        QFile old(file(u"scale.pdf"_s));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
        old.close();
        QCOMPARE(cli({u"convert"_s, u"--fast"_s, u"scale.mid"_s}).exitCode, 0);
        QCOMPARE(head(file(u"scale.pdf"_s), 5), QByteArray("%PDF-"));
    }

    void aLinkPlantedAtTheOutputIsReplacedNotWrittenThrough() {
        QVERIFY(QFile::copy(file(u"scale.mid"_s), file(u"planted.mid"_s)));
        QFile victim(file(u"victim.txt"_s));
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("notes");
        victim.close();
        QVERIFY(QFile::link(victim.fileName(), file(u"planted.pdf"_s)));
        QCOMPARE(cli({u"convert"_s, u"--fast"_s, u"planted.mid"_s}).exitCode, 0);
        QCOMPARE(head(victim.fileName(), 10), QByteArray("notes"));
        QVERIFY(!QFileInfo(file(u"planted.pdf"_s)).isSymLink());
        QCOMPARE(head(file(u"planted.pdf"_s), 5), QByteArray("%PDF-"));
    }

    void outsideTextCannotControlTheTerminal() {
        const QString name = u"title\x1b]0;owned\x07\x1b[2K.mid"_s;
        QVERIFY(QFile::copy(file(u"noise.mid"_s), file(name)));
        const Run run = cli({u"convert"_s, u"--fast"_s, name});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(!run.err.contains(QChar(0x1b)) && !run.err.contains(QChar(0x07)),
                 qPrintable(run.err));
        QVERIFY(run.err.startsWith(u"velmarto-cli: title\\x1b]0;owned\\x07\\x1b[2K.mid: "_s));
    }

    void severalFilesOneFailing() {
        const Run run = cli({u"convert"_s, u"--fast"_s, u"noise.mid"_s, u"scale.mid"_s});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(u"scale.mid \u2192 "_s));
        QVERIFY2(run.err.startsWith(u"velmarto-cli: noise.mid: MuseScore conversion failed:\n"
                                    u"No valid PDF was produced.\n\n$ "_s),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(u"bad format"_s));
        QVERIFY(!QFile::exists(file(u"noise.pdf"_s)));
    }

    void aParallelBatchReportsInInputOrder() {
        // The long song comes first: with two jobs the short ones are likely done before it, yet
        // their lines follow its line; the failing one fails the batch without stopping it.
        QVERIFY(test::MidiFileBuilder::scale(64).writeTo(file(u"long.mid"_s)));
        const Run run = cli({u"convert"_s, u"--fast"_s, u"-j"_s, u"2"_s, u"long.mid"_s,
                             u"noise.mid"_s, u"tune.mid"_s, u"scale.mid"_s});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, u"long.mid \u2192 "_s + file(u"long.pdf"_s) + u"\ntune.mid \u2192 "_s +
                              file(u"tune.pdf"_s) + u"\nscale.mid \u2192 "_s +
                              file(u"scale.pdf"_s) + u'\n');
        QVERIFY2(run.err.startsWith(u"velmarto-cli: noise.mid: MuseScore conversion failed:"_s),
                 qPrintable(run.err));
        for (const QString& pdf : {u"long.pdf"_s, u"tune.pdf"_s, u"scale.pdf"_s}) {
            QCOMPARE(head(file(pdf), 5), QByteArray("%PDF-"));
        }
        QVERIFY(!QFile::exists(file(u"noise.pdf"_s)));

        const Run allGood =
            cli({u"convert"_s, u"--fast"_s, u"--jobs"_s, u"3"_s, u"tune.mid"_s, u"scale.mid"_s});
        QCOMPARE(allGood.exitCode, 0);
        QVERIFY(allGood.err.isEmpty());
    }

    void interruptingABatchStopsEveryEngineAndLeavesOnlyWholePDFs() {
        QTemporaryDir workFolders;
        QTemporaryDir output;
        QStringList arguments{u"convert"_s, u"-j"_s, u"2"_s};
        for (int index = 0; index < 6; ++index) {
            const QString midi = output.filePath(u"song-%1.mid"_s.arg(index));
            QVERIFY(test::MidiFileBuilder::scale(24).writeTo(midi));
            arguments << midi;
        }
        QProcess process;
        process.setWorkingDirectory(output.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, workFolders.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELMARTO_CLI_PATH), arguments);
        QVERIFY(process.waitForStarted());
        // Interrupt once the first song is out and the engines of the next ones are running.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output.filePath(u"song-0.pdf"_s)), 120000);
        QTRY_VERIFY_WITH_TIMEOUT(!enginesWorkingOn(workFolders.path()).isEmpty(), 60000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(30000));

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + SIGINT);
        QVERIFY(QString::fromUtf8(process.readAllStandardError())
                    .contains(u": Conversion cancelled."_s));
        QTRY_COMPARE(enginesWorkingOn(workFolders.path()), QStringList());
        const QStringList pdfs = QDir(output.path()).entryList({u"*.pdf"_s}, QDir::Files);
        QVERIFY(pdfs.contains(u"song-0.pdf"_s));
        QVERIFY(pdfs.size() < 6);
        for (const QString& pdf : pdfs) {
            QFile written(output.filePath(pdf));
            QVERIFY(written.open(QIODevice::ReadOnly));
            const QByteArray bytes = written.readAll();
            QVERIFY2(bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"),
                     qPrintable(pdf));
        }
        // Nothing but the songs and their PDFs: no half-copied file under a temporary name.
        QCOMPARE(QDir(output.path()).entryList(QDir::Files | QDir::Hidden).size(), 6 + pdfs.size());
    }

    void aFileNameCannotRunCommands() {
        // musicxml2ly passes its output path to a shell in double quotes.
        const QString name = u"song $(touch pwned) `touch pwned-too`.MID"_s;
        QVERIFY(QFile::copy(file(u"scale.mid"_s), file(name)));
        const Run run = cli({u"convert"_s, name});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(head(file(u"song $(touch pwned) `touch pwned-too`.pdf"_s), 5),
                 QByteArray("%PDF-"));
        QVERIFY(!QFile::exists(file(u"pwned"_s)));
        QVERIFY(!QFile::exists(file(u"pwned-too"_s)));
    }

    void aFileWithoutANameGivesScorePdf() {
        QVERIFY(QFile::copy(file(u"scale.mid"_s), file(u".mid"_s)));
        const Run run = cli({u"convert"_s, u"--fast"_s, u".mid"_s});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(head(file(u"score.pdf"_s), 5), QByteArray("%PDF-"));
        QVERIFY(!QFile::exists(file(u".pdf"_s)));
    }

    void paperNamesIgnoreCase() {
        const Run run =
            cli({u"convert"_s, u"--paper"_s, u"A4"_s, u"-o"_s, u"a4.pdf"_s, u"scale.mid"_s});
        QCOMPARE(run.exitCode, 0);
        QProcess pdfinfo;
        pdfinfo.start(u"pdfinfo"_s, {file(u"a4.pdf"_s)});
        QVERIFY(pdfinfo.waitForFinished(-1));
        QVERIFY(QString::fromUtf8(pdfinfo.readAllStandardOutput()).contains(u"(A4)"_s));
    }

    void anEngineThatHangsIsStoppedByTheTimeout() {
        // One note as long as a MIDI file can say keeps MuseScore busy for minutes.
        QVERIFY(test::MidiFileBuilder()
                    .track(u"Long"_s, {{60, 0x0FFFFFFF}})
                    .writeTo(file(u"endless.mid"_s)));
        QElapsedTimer clock;
        clock.start();
        const Run run = cli({u"convert"_s, u"--timeout"_s, u"3"_s, u"endless.mid"_s});
        QVERIFY(clock.elapsed() < 30000);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(u"velmarto-cli: endless.mid: MuseScore import failed:\n"
                                    u"The engine did not finish within 3 seconds and was "
                                    u"stopped.\n\n$ "_s),
                 qPrintable(run.err));
        QVERIFY(enginesWorkingOn(u"endless.mid"_s).isEmpty());
        QVERIFY(!QFile::exists(file(u"endless.pdf"_s)));
    }

    void aSignalStopsEveryEngineAndWritesNothing_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP: the terminal closed") << int(SIGHUP);
    }

    void aSignalStopsEveryEngineAndWritesNothing() {
        QFETCH(int, signal);
        const QString name = u"endless-%1.mid"_s.arg(signal);
        const QString after = u"after-%1.mid"_s.arg(signal);
        QVERIFY(test::MidiFileBuilder().track(u"Long"_s, {{60, 0x0FFFFFFF}}).writeTo(file(name)));
        QVERIFY(QFile::copy(file(u"scale.mid"_s), file(after)));
        QProcess process;
        process.setWorkingDirectory(scratch.path());
        // One job at a time, so that the file after the stopped one has not started yet.
        process.start(QStringLiteral(VELMARTO_CLI_PATH),
                      {u"convert"_s, u"-j"_s, u"1"_s, name, after});
        QTRY_VERIFY_WITH_TIMEOUT(!enginesWorkingOn(name).isEmpty(), 20000);

        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signal);
        QVERIFY(QString::fromUtf8(process.readAllStandardError())
                    .contains(name + u": Conversion cancelled."_s));
        QTRY_VERIFY(enginesWorkingOn(name).isEmpty());
        // Neither the stopped file nor the one after it was written.
        QVERIFY(!QFile::exists(file(QString(name).replace(u".mid"_s, u".pdf"_s))));
        QVERIFY(!QFile::exists(file(QString(after).replace(u".mid"_s, u".pdf"_s))));
    }

    void anEngineDiesWithItsProgramEvenWhenItIsKilled() {
        const QString name = u"killed.mid"_s;
        QVERIFY(test::MidiFileBuilder().track(u"Long"_s, {{60, 0x0FFFFFFF}}).writeTo(file(name)));
        QProcess process;
        process.setWorkingDirectory(scratch.path());
        process.start(QStringLiteral(VELMARTO_CLI_PATH), {u"convert"_s, name});
        QTRY_VERIFY_WITH_TIMEOUT(!enginesWorkingOn(name).isEmpty(), 20000);
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(10000));
        QTRY_VERIFY(enginesWorkingOn(name).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_cli.moc"
