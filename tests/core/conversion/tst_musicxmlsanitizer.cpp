#include "core/conversion/MusicXmlSanitizer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

// Every element, attribute and text of a document, one per line, for comparing structure.
QStringList outline(const QByteArray& xml) {
    QStringList items;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            items << u'<' + reader.name().toString();
            for (const auto& attribute : reader.attributes()) {
                items << u'@' + attribute.name().toString() + u'=' + attribute.value().toString();
            }
            break;
        case QXmlStreamReader::Characters:
            if (!reader.isWhitespace()) {
                items << reader.text().toString();
            }
            break;
        default:
            break;
        }
    }
    return items;
}

} // namespace

class TestMusicXmlSanitizer : public QObject {
    Q_OBJECT

private slots:
    void textLosesWhatLilyPondWouldRead_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"Fl\u00f6te 1 (a2)"_s << u"Fl\u00f6te 1 (a2)"_s;
        QTest::newRow("backslash") << u"a\\b\\"_s << u"a\u29f5b\u29f5"_s;
        QTest::newRow("quotes") << u"say \"hi\" (\"x\")"_s
                                << u"say \u201chi\u201d (\u201cx\u201d)"_s;
        QTest::newRow("scheme") << u"#(system \"id\")"_s << u"\uff03(system \u201cid\u201d)"_s;
        QTest::newRow("embedded scheme") << u"$(x) ${y}"_s << u"\uff04(x) \uff04\uff5by\uff5d"_s;
        QTest::newRow("markup breakers") << u"} 50% {"_s << u"\uff5d 50\uff05 \uff5b"_s;
        QTest::newRow("line breaks")
            << u"a\nb\rc\r\nd\u2028e\u2029f\u0085g\vh\fi"_s << u"a b c  d e f g h i"_s;
        QTest::newRow("tab stays") << u"a\tb"_s << u"a\tb"_s;
    }

    void textLosesWhatLilyPondWouldRead() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(musicxmlsanitizer::neutralisedText(text), expected);
    }

    void everyTextNodeIsNeutralisedAndTheMarkupKept() {
        const QByteArray original =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
            "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
            "<score-partwise version=\"3.1\">\n"
            "  <!-- made by \"x\" -->\n"
            "  <work><work-title>A &quot;B&#34; \\ C&#10;#(system &apos;x&apos;)</work-title>"
            "</work>\n"
            "  <part-list>\n"
            "    <score-part id=\"P1\"><part-name print-object=\"no\">Pia\r\nno</part-name>"
            "<part-abbreviation><![CDATA[Pno\"\n\\]]></part-abbreviation></score-part>\n"
            "  </part-list>\n"
            "  <part id=\"P1\"><measure number=\"1\"><direction><direction-type>"
            "<words font-family=\"a&#10;&quot;b\">x&#13;y</words><rehearsal>A</rehearsal>"
            "</direction-type></direction><note><pitch><step>C</step><octave>4</octave></pitch>"
            "<duration>4</duration><lyric><text>\xe5\xa4\x9c&#x2028;\\\"</text></lyric></note>"
            "</measure></part>\n"
            "</score-partwise>\n";
        const auto rewritten = musicxmlsanitizer::neutralised(original);
        QVERIFY(rewritten.has_value());

        QCOMPARE(outline(*rewritten), (QStringList{
                                          u"<score-partwise"_s,
                                          u"@version=3.1"_s,
                                          u"<work"_s,
                                          u"<work-title"_s,
                                          u"A \u201cB\u201d \u29f5 C \uff03(system 'x')"_s,
                                          u"<part-list"_s,
                                          u"<score-part"_s,
                                          u"@id=P1"_s,
                                          u"<part-name"_s,
                                          u"@print-object=no"_s,
                                          u"Pia no"_s,
                                          u"<part-abbreviation"_s,
                                          u"Pno\u201d \u29f5"_s,
                                          u"<part"_s,
                                          u"@id=P1"_s,
                                          u"<measure"_s,
                                          u"@number=1"_s,
                                          u"<direction"_s,
                                          u"<direction-type"_s,
                                          u"<words"_s,
                                          u"@font-family=a \u201cb"_s,
                                          u"x y"_s,
                                          u"<rehearsal"_s,
                                          u"A"_s,
                                          u"<note"_s,
                                          u"<pitch"_s,
                                          u"<step"_s,
                                          u"C"_s,
                                          u"<octave"_s,
                                          u"4"_s,
                                          u"<duration"_s,
                                          u"4"_s,
                                          u"<lyric"_s,
                                          u"<text"_s,
                                          u"\u591c \u29f5\u201d"_s,
                                      }));
        QVERIFY(rewritten->startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD "
                                      "MusicXML 3.1 Partwise//EN\" "
                                      "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"));
        // No line of the rewritten document is text: each starts with markup.
        for (const QByteArray& line : rewritten->split('\n')) {
            QVERIFY2(line.trimmed().isEmpty() || line.trimmed().startsWith('<'), line.constData());
        }
        QVERIFY(!rewritten->contains('\\'));
        QVERIFY(!rewritten->contains("&quot;"));
    }

    void entitiesOfTheDocumentTypeCannotSmuggleText() {
        const QByteArray original =
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE score-partwise [<!ENTITY evil \"x&#34; #(system 1) &#34;\">"
            "<!ATTLIST words extra CDATA \"a&#34;b\">]>\n"
            "<score-partwise><part-list><score-part id=\"P1\"><part-name>&evil;</part-name>"
            "</score-part></part-list><words/></score-partwise>\n";
        const auto rewritten = musicxmlsanitizer::neutralised(original);
        QVERIFY(rewritten.has_value());
        QVERIFY2(!rewritten->contains("ENTITY") && !rewritten->contains("ATTLIST"),
                 rewritten->constData());
        QVERIFY(!rewritten->contains("#(system"));
        QVERIFY(!rewritten->contains("&quot;"));
        QVERIFY(!rewritten->contains("\" #"));
    }

    void brokenXmlIsRefusedAndLeftAlone() {
        QTemporaryDir directory;
        const QString path = directory.filePath(u"song.musicxml"_s);
        const QByteArray broken = "<score-partwise><part-name>x\\\"</part-name>";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(broken);
        file.close();
        QVERIFY(!musicxmlsanitizer::neutralised(broken).has_value());
        QVERIFY(!musicxmlsanitizer::neutralise(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), broken);
        file.close();

        QVERIFY(!musicxmlsanitizer::neutralise(directory.filePath(u"missing.musicxml"_s)));
    }

    void theFileIsRewrittenInPlace() {
        QTemporaryDir directory;
        const QString path = directory.filePath(u"song.musicxml"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<score-partwise><part-name>a\\b</part-name></score-partwise>");
        file.close();
        QVERIFY(musicxmlsanitizer::neutralise(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(outline(file.readAll()),
                 (QStringList{u"<score-partwise"_s, u"<part-name"_s, u"a\u29f5b"_s}));
    }
};

QTEST_GUILESS_MAIN(TestMusicXmlSanitizer)
#include "tst_musicxmlsanitizer.moc"
