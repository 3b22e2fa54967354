// Conversions through the real MuseScore, musicxml2ly and LilyPond from the distribution.

#include "core/conversion/Converter.h"
#include "support/FakeEngines.h"
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

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct PdfInfo {
    int pages = 0;
    QString pageSize;
};

PdfInfo pdfInfo(const QString& path) {
    QProcess pdfinfo;
    pdfinfo.start(u"pdfinfo"_s, {path});
    pdfinfo.waitForFinished(-1);
    const QString output = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    PdfInfo info;
    info.pages = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(output).captured(1).toInt();
    info.pageSize = QRegularExpression(u"Page size:\\s+(.*)"_s).match(output).captured(1).trimmed();
    return info;
}

// A part name that musicxml2ly 2.24 copies into a LilyPond string, escaping quotes but not the
// backslash, so the string ends early and lilypond runs the Scheme after it. The command is
// spelled as character codes because the quotes inside it would be escaped.
QByteArray musicXmlWithPayload(const QString& marker) {
    QByteArray codes;
    for (const char c : (u"touch "_s + marker).toUtf8()) {
        codes += ' ' + QByteArray::number(int(c));
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<score-partwise version=\"3.1\"><part-list><score-part id=\"P1\"><part-name>x\\\" "
           "#(system (list-&gt;string (map integer-&gt;char (list" +
           codes +
           ")))) %</part-name></score-part></part-list><part id=\"P1\"><measure number=\"1\">"
           "<attributes><divisions>1</divisions></attributes><note><pitch><step>C</step>"
           "<octave>4</octave></pitch><duration>4</duration><type>whole</type></note></measure>"
           "</part></score-partwise>\n";
}

QByteArray failureText(const std::expected<ConversionResult, ConversionFailure>& result) {
    return result ? QByteArray() : describe(result.error()).toLocal8Bit();
}

} // namespace

class TestRealEngines : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString midi;

    PlatformProfile profile() const {
        PlatformProfile profile = PlatformProfile::freedesktop();
        profile.temporaryDirectory = scratch.filePath(u"tmp"_s);
        return profile;
    }

private slots:
    void initTestCase() {
        if (!Converter(profile()).allReady()) {
            QFAIL("MuseScore and LilyPond must be installed (scripts/install-deps)");
        }
        midi = scratch.filePath(u"Two Tracks.mid"_s);
        QVERIFY(test::MidiFileBuilder::twoTrackTune().writeTo(midi));
    }

    void bestQualityHonoursThePaperSize_data() {
        QTest::addColumn<QString>("paperSize");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("a4") << u"a4"_s << u"595.28 x 841.89 pts (A4)"_s;
        QTest::newRow("letter") << u"letter"_s << u"612 x 792 pts (letter)"_s;
    }

    void bestQualityHonoursThePaperSize() {
        QFETCH(QString, paperSize);
        QFETCH(QString, pageSize);
        const auto result = Converter(profile()).convert(QUrl::fromLocalFile(midi),
                                                         ConversionEngine::both, paperSize);
        QVERIFY2(result.has_value(), failureText(result).constData());

        const QString pdf = result->pdfURL.toLocalFile();
        QVERIFY(readAll(pdf).startsWith(u"%PDF-"_s));
        const PdfInfo info = pdfInfo(pdf);
        QVERIFY(info.pages >= 1);
        QCOMPARE(info.pageSize, pageSize);

        const QString musicXml = readAll(result->musicXMLURL->toLocalFile());
        QVERIFY(musicXml.contains(u"<score-partwise"_s));
        QVERIFY(musicXml.contains(u"Melody"_s));
        QVERIFY(readAll(result->lilypondURL->toLocalFile())
                    .contains(u"\n#(set-default-paper-size \""_s + paperSize + u"\")\n"_s));
        QCOMPARE(
            result->log.count(QRegularExpression(u"^\\$ "_s, QRegularExpression::MultilineOption)),
            3);
    }

    void fastQualityWritesAPdfDirectly() {
        const auto result = Converter(profile()).convert(QUrl::fromLocalFile(midi),
                                                         ConversionEngine::museScoreOnly);
        QVERIFY2(result.has_value(), failureText(result).constData());
        QVERIFY(readAll(result->pdfURL.toLocalFile()).startsWith(u"%PDF-"_s));
        QVERIFY(pdfInfo(result->pdfURL.toLocalFile()).pages >= 1);
        QVERIFY(!result->musicXMLURL.has_value());
    }

    void badInputIsReportedInMuseScoresOwnWords_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("enginesWords");
        QTest::newRow("empty") << QByteArray() << u"bad format"_s;
        QTest::newRow("random bytes")
            << QByteArray::fromHex("8f3a00ffe1c2d3b4a5968778695a4b3c") << u"bad format"_s;
        QTest::newRow("text") << QByteArray("hello, not a midi file\n") << u"bad format"_s;
        QTest::newRow("missing") << QByteArray("-") << u"file open error"_s;
    }

    void badInputIsReportedInMuseScoresOwnWords() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, enginesWords);
        const QString file =
            scratch.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".mid"_s);
        if (contents != "-") {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(contents);
        }
        for (ConversionEngine engine : allConversionEngines) {
            const auto result = Converter(profile()).convert(QUrl::fromLocalFile(file), engine);
            QVERIFY(!result.has_value());
            const auto& error = std::get<ConversionError>(result.error());
            QCOMPARE(error.stage(), engine == ConversionEngine::both ? u"MuseScore import"_s
                                                                     : u"MuseScore conversion"_s);
            QVERIFY2(error.detail().contains(enginesWords), qPrintable(error.detail()));
        }
    }

    void theUnprotectedPayloadWouldRun() {
        // Proves the payload is real, so that the next test's silence means something.
        const QString marker = scratch.filePath(u"unprotected-ran"_s);
        const QString xml = scratch.filePath(u"unprotected.musicxml"_s);
        QFile file(xml);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(musicXmlWithPayload(marker));
        file.close();
        const QString ly = scratch.filePath(u"unprotected.ly"_s);
        QCOMPARE(QProcess::execute(u"/usr/bin/musicxml2ly"_s, {xml, u"-o"_s, ly}), 0);
        QProcess::execute(u"/usr/bin/lilypond"_s,
                          {u"-o"_s, scratch.filePath(u"unprotected"_s), ly});
        QVERIFY(QFile::exists(marker));
    }

    void aCraftedPartNameCannotRunCode() {
        test::FakeEngines engines;
        const QString marker = scratch.filePath(u"protected-ran"_s);
        engines.writeFile(u"crafted.musicxml"_s, musicXmlWithPayload(marker));
        engines.installMuseScore(u"cp \"$(dirname \"$0\")/../crafted.musicxml\" \"$2\""_s);

        PlatformProfile crafted = profile();
        crafted.museScoreCandidates = {engines.path(u"bin/mscore"_s)};
        const auto result =
            Converter(crafted).convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY2(result.has_value(), failureText(result).constData());
        QVERIFY(pdfInfo(result->pdfURL.toLocalFile()).pages >= 1);
        QVERIFY(!QFile::exists(marker));
    }
};

QTEST_GUILESS_MAIN(TestRealEngines)
#include "tst_realengines.moc"
