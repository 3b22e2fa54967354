// Hostile text against the real musicxml2ly and lilypond: every text that musicxml2ly copies
// into the LilyPond source, and the file's own name, carrying code in many shapes. Each payload
// creates a marker file when it runs. The bare engines are shown to run some of them first, so
// the silence of the protected runs means something.

#include "core/conversion/Converter.h"
#include "support/FakeEngines.h"
#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

// The texts musicxml2ly reads, each marked "@slot@" in the score below.
const QStringList textSlots = {
    u"work-number"_s,
    u"work-title"_s,
    u"movement-number"_s,
    u"movement-title"_s,
    u"composer"_s,
    u"lyricist"_s,
    u"arranger"_s,
    u"rights"_s,
    u"software"_s,
    u"encoding"_s,
    u"source"_s,
    u"description"_s,
    u"credit-words"_s,
    u"group-name"_s,
    u"group-abbreviation"_s,
    u"part-name"_s,
    u"part-abbreviation"_s,
    u"instrument-name"_s,
    u"part-name-display"_s,
    u"part-abbreviation-display"_s,
    u"rehearsal"_s,
    u"tempo-text"_s,
    u"per-minute"_s,
    u"words"_s,
    u"lyric"_s,
    u"next-lyric"_s,
};

const char* const scoreTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<score-partwise version="3.1">
<work><work-number>@work-number@</work-number><work-title>@work-title@</work-title></work>
<movement-number>@movement-number@</movement-number>
<movement-title>@movement-title@</movement-title>
<identification>
<creator type="composer">@composer@</creator><creator type="lyricist">@lyricist@</creator>
<creator type="arranger">@arranger@</creator><rights>@rights@</rights>
<encoding><software>@software@</software>
<encoding-description>@encoding@</encoding-description></encoding><source>@source@</source>
<miscellaneous><miscellaneous-field name="description">@description@</miscellaneous-field>
</miscellaneous></identification>
<credit page="1"><credit-words>@credit-words@</credit-words></credit>
<part-list>
<part-group type="start" number="1"><group-name>@group-name@</group-name>
<group-abbreviation>@group-abbreviation@</group-abbreviation></part-group>
<score-part id="P1"><part-name>@part-name@</part-name>
<part-abbreviation>@part-abbreviation@</part-abbreviation>
<score-instrument id="P1-I1"><instrument-name>@instrument-name@</instrument-name>
</score-instrument></score-part>
<part-group type="stop" number="1"/>
</part-list>
<part id="P1">
<measure number="1">
<print><part-name-display><display-text>@part-name-display@</display-text></part-name-display>
<part-abbreviation-display><display-text>@part-abbreviation-display@</display-text>
</part-abbreviation-display></print>
<attributes><divisions>1</divisions><time><beats>4</beats><beat-type>4</beat-type></time>
<clef><sign>G</sign><line>2</line></clef></attributes>
<direction placement="above"><direction-type><rehearsal>@rehearsal@</rehearsal></direction-type>
</direction>
<direction placement="above"><direction-type><words>@tempo-text@</words></direction-type>
<direction-type><metronome><beat-unit>quarter</beat-unit><per-minute>@per-minute@</per-minute>
</metronome></direction-type><sound tempo="120"/></direction>
<direction placement="below"><direction-type><words>@words@</words></direction-type></direction>
<note><pitch><step>C</step><octave>4</octave></pitch><duration>2</duration><type>half</type>
<lyric number="1"><syllabic>single</syllabic><text>@lyric@</text></lyric></note>
<note><pitch><step>D</step><octave>4</octave></pitch><duration>2</duration><type>half</type>
<lyric number="1"><syllabic>single</syllabic><text>@next-lyric@</text></lyric></note>
</measure>
</part>
</score-partwise>
)";

// Scheme that creates the marker without a double quote of its own, for the places where
// musicxml2ly escapes quotes.
QString schemeTouchingWithoutQuotes(const QString& marker) {
    QString codes;
    for (const char c : (u"touch "_s + marker).toUtf8()) {
        codes += u' ' + QString::number(int(c));
    }
    return u"(system (list->string (map integer->char (list"_s + codes + u"))))"_s;
}

const QStringList shapeNames = {
    u"quote"_s, u"escaped quote"_s, u"scheme"_s,          u"embedded scheme"_s, u"markup escape"_s,
    u"shell"_s, u"line feed"_s,     u"carriage return"_s, u"version"_s,         u"paper lines"_s,
};

// The payload of the named shape that touches the given marker when it runs.
QString payload(const QString& shape, const QString& marker) {
    const QString scheme = u"(system \"touch "_s + marker + u"\")"_s;
    const QMap<QString, QString> texts = {
        {u"quote"_s, u"x\" #"_s + scheme + u" \""_s},
        {u"escaped quote"_s, u"x\\\" #"_s + schemeTouchingWithoutQuotes(marker) + u" %"_s},
        {u"scheme"_s, u"#"_s + scheme},
        {u"embedded scheme"_s, u"$"_s + scheme},
        {u"markup escape"_s, u"} } #"_s + scheme + u" { {"_s},
        {u"shell"_s, u"$(touch "_s + marker + u") `touch "_s + marker + u'`'},
        {u"line feed"_s, u"a\n#"_s + scheme + u"\n\" #"_s + scheme + u" \""_s},
        {u"carriage return"_s, u"a\r#"_s + scheme + u"\r\" #"_s + scheme + u" \""_s},
        {u"version"_s, u"\\version \"2.24.0\"\n#"_s + scheme + u'\n'},
        {u"paper lines"_s,
         u"a\npaper-width = 1\\cm\npaper-height = 1\\cm\n\" #"_s + scheme + u" \""_s},
    };
    return texts.value(shape);
}

QString xmlEscaped(const QString& text) {
    QString escaped = text.toHtmlEscaped();
    return escaped.replace(u'\r', u"&#13;"_s).replace(u'\n', u"&#10;"_s);
}

// The score with every slot holding the shape's payload, each slot with its own marker.
QByteArray hostileScore(const QString& shape, const QString& markerDirectory) {
    QString score = QString::fromUtf8(scoreTemplate);
    for (const QString& slot : textSlots) {
        const QString marker =
            markerDirectory + u'/' + QString(shape).replace(u' ', u'-') + u'-' + slot;
        score.replace(u'@' + slot + u'@', xmlEscaped(payload(shape, marker)));
    }
    return score.toUtf8();
}

QStringList markersIn(const QString& directory) {
    return QDir(directory).entryList(QDir::Files);
}

int pdfPages(const QString& path) {
    QProcess pdfinfo;
    pdfinfo.start(u"pdfinfo"_s, {path});
    pdfinfo.waitForFinished(-1);
    const QString output = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    return QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(output).captured(1).toInt();
}

bool write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

} // namespace

class TestHostileText : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString markers;

    PlatformProfile realProfile() const {
        PlatformProfile profile = PlatformProfile::freedesktop();
        profile.temporaryDirectory = scratch.filePath(u"tmp"_s);
        return profile;
    }

    QString failureText(const std::expected<ConversionResult, ConversionFailure>& result) {
        return result ? QString() : describe(result.error());
    }

private slots:
    void initTestCase() {
        if (!Converter(realProfile()).allReady()) {
            QFAIL("MuseScore and LilyPond must be installed (scripts/install-deps)");
        }
        markers = scratch.filePath(u"markers"_s);
        QVERIFY(QDir().mkpath(markers));
        // Shell payloads in file names use relative markers: a name cannot hold a slash.
        QVERIFY(QDir::setCurrent(markers));
    }

    void cleanup() {
        for (const QString& marker : markersIn(markers)) {
            QFile::remove(markers + u'/' + marker);
        }
    }

    void theBareEnginesRunSomePayloads() {
        const Converter real(realProfile());
        const QString musicxml2ly = *real.locate(u"musicxml2ly"_s);
        const QString lilypond = *real.locate(u"lilypond"_s);

        // One score with three payloads where musicxml2ly 2.24 leaves them live: a quote in
        // words, a backslash before the escaped quote of a part name, a rehearsal mark that
        // goes into a markup unquoted. Every other text is harmless.
        QString score = QString::fromUtf8(scoreTemplate);
        for (const QString& slot : textSlots) {
            score.replace(u'@' + slot + u'@', u"plain"_s);
        }
        const auto plant = [&](const QString& element, const QString& shape) {
            score.replace(u'<' + element + u">plain<"_s,
                          u'<' + element + u'>' +
                              xmlEscaped(payload(shape, markers + u"/bare-"_s + element)) + u'<');
        };
        plant(u"words"_s, u"quote"_s);
        plant(u"part-name"_s, u"escaped quote"_s);
        plant(u"rehearsal"_s, u"scheme"_s);
        QVERIFY(write(markers + u"/bare.musicxml"_s, score.toUtf8()));

        // And a name: musicxml2ly runs convert-ly on its output through a shell, with the name
        // in double quotes.
        const QString output = u"bare $(touch bare-name).ly"_s;
        QProcess::execute(musicxml2ly, {u"bare.musicxml"_s, u"-o"_s, output});
        QProcess::execute(lilypond, {u"-o"_s, u"bare"_s, output});
        const QStringList ran = markersIn(markers);
        for (const QString& marker :
             {u"bare-words"_s, u"bare-part-name"_s, u"bare-rehearsal"_s, u"bare-name"_s}) {
            QVERIFY2(ran.contains(marker), qPrintable(ran.join(u' ')));
        }
    }

    void noPayloadRunsThroughTheConverter_data() {
        QTest::addColumn<QString>("shape");
        for (const QString& shape : shapeNames) {
            QTest::newRow(qPrintable(shape)) << shape;
        }
    }

    void noPayloadRunsThroughTheConverter() {
        QFETCH(QString, shape);
        // MuseScore is a stand-in that hands over the hostile score; musicxml2ly and lilypond
        // are the real ones.
        test::FakeEngines engines;
        engines.writeFile(u"hostile.musicxml"_s, hostileScore(shape, markers));
        engines.installMuseScore(u"cp \"$(dirname \"$0\")/../hostile.musicxml\" \"$2\""_s);
        PlatformProfile profile = realProfile();
        profile.museScoreCandidates = {engines.path(u"bin/mscore"_s)};
        const QString midi =
            engines.writeFile(u"song $(touch name) `touch name-tick` $HOME \\ \" .mid"_s,
                              test::MidiFileBuilder::scale(1).build());

        const auto result =
            Converter(profile).convert(QUrl::fromLocalFile(midi), ConversionEngine::both, u"a4"_s);
        QVERIFY2(result.has_value(), qPrintable(failureText(result)));
        QVERIFY(pdfPages(result->pdfURL.toLocalFile()) >= 1);
        QVERIFY2(markersIn(markers).isEmpty(), qPrintable(markersIn(markers).join(u' ')));
    }

    void midiTextThroughTheRealMuseScore() {
        // Track names, lyrics, text events and markers of a MIDI file become part names, lyrics,
        // words and rehearsal marks in MuseScore's MusicXML.
        const auto marked = [&](const QString& shape, const QString& place) {
            return payload(shape, markers + u"/midi-"_s + QString(shape).replace(u' ', u'-') +
                                      u'-' + place);
        };
        QList<test::MidiFileBuilder::Note> melody;
        for (int index = 0; index < shapeNames.size(); ++index) {
            melody.append({60 + index, 480, marked(shapeNames.at(index), u"lyric"_s)});
        }
        using Text = test::MidiFileBuilder::Text;
        using Kind = test::MidiFileBuilder::TextKind;
        test::MidiFileBuilder builder;
        builder.track(marked(u"quote"_s, u"track"_s), melody, 0,
                      {Text{Kind::text, marked(u"scheme"_s, u"text"_s)},
                       Text{Kind::marker, marked(u"markup escape"_s, u"marker"_s)},
                       Text{Kind::copyright, marked(u"line feed"_s, u"copyright"_s)},
                       Text{Kind::instrument, marked(u"escaped quote"_s, u"instrument"_s)}});
        builder.track(marked(u"escaped quote"_s, u"track"_s), {{48, 1920}, {43, 1920}}, 1,
                      {Text{Kind::text, marked(u"paper lines"_s, u"text"_s)}});
        const QString midi = scratch.filePath(u"tune $(touch name) `touch name-tick`.mid"_s);
        QVERIFY(builder.writeTo(midi));

        const auto result =
            Converter(realProfile()).convert(QUrl::fromLocalFile(midi), ConversionEngine::both);
        QVERIFY2(result.has_value(), qPrintable(failureText(result)));
        QVERIFY(pdfPages(result->pdfURL.toLocalFile()) >= 1);
        QVERIFY2(markersIn(markers).isEmpty(), qPrintable(markersIn(markers).join(u' ')));

        // The payloads did reach the engines: MuseScore carried them into the MusicXML.
        QFile musicXml(result->musicXMLURL->toLocalFile());
        QVERIFY(musicXml.open(QIODevice::ReadOnly));
        const QString carried = QString::fromUtf8(musicXml.readAll());
        for (const QString& place : {u"quote-track"_s, u"scheme-text"_s, u"scheme-lyric"_s,
                                     u"line-feed-lyric"_s, u"paper-lines-text"_s}) {
            QVERIFY2(carried.contains(u"midi-"_s + place), qPrintable(place));
        }
    }
};

QTEST_GUILESS_MAIN(TestHostileText)
#include "tst_hostiletext.moc"
