#include "core/conversion/MusicXmlPartNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

QString scoreWithParts(const QString& partList) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           u"<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
           u"\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
           u"<score-partwise version=\"3.1\">\n  <part-list>\n"_s +
           partList +
           u"  </part-list>\n  <part id=\"P1\"><measure number=\"1\"/></part>\n"
           u"</score-partwise>\n"_s;
}

} // namespace

class TestMusicXmlPartNames : public QObject {
    Q_OBJECT

private slots:
    void printedNamesKeepWhatSaysSomething_data() {
        QTest::addColumn<QString>("partName");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("abbreviation");
        QTest::newRow("instrument and track")
            << u"Percussion, Slagverk"_s << u"Percussion, Slagverk"_s << u"Perc."_s;
        QTest::newRow("no track") << u"Slap Bass 1"_s << u"Slap Bass 1"_s << u"Slap Bass 1"_s;
        QTest::newRow("track repeats the instrument")
            << u"Flute, flute"_s << u"Flute"_s << u"Fl."_s;
        QTest::newRow("track within the instrument")
            << u"Grand Piano, Piano"_s << u"Grand Piano"_s << u"Grand Pno."_s;
        QTest::newRow("instrument within the track")
            << u"Honky-tonk, Honky-tonk Piano"_s << u"Honky-tonk Piano"_s << u"Honk. Pno."_s;
        QTest::newRow("numbered track")
            << u"Electric Guitar, Track7"_s << u"Electric Guitar"_s << u"Elec. Guit."_s;
        QTest::newRow("channel") << u"Strings, MIDI Ch. 2"_s << u"Strings"_s << u"Str."_s;
        QTest::newRow("sequencer's port")
            << u"Choir Aahs, MIDI 01"_s << u"Choir Aahs"_s << u"Choir Aahs"_s;
        QTest::newRow("staff") << u"Voice, Staff-1"_s << u"Voice"_s << u"Voice"_s;
        QTest::newRow("short name from the instrument, not the track")
            << u"Elec. Guit., Electric"_s << u"Elec. Guit., Electric"_s << u"Elec. Guit."_s;
        QTest::newRow("twelve characters at most")
            << u"Synthesizer Pad Orchestra"_s << u"Synthesizer Pad Orchestra"_s << u"Synt. Pad"_s;
        QTest::newRow("entities decoded once, quotes neutralised")
            << u"Brass, R&amp;B &lt;Lead&gt; &quot;1&quot;"_s << u"Brass, R&B <Lead> “1”"_s
            << u"Brass"_s;
        QTest::newRow("empty") << QString() << QString() << QString();
    }

    void printedNamesKeepWhatSaysSomething() {
        QFETCH(QString, partName);
        QFETCH(QString, printed);
        QFETCH(QString, abbreviation);
        QCOMPARE(musicxmlpartnames::printedName(partName), printed);
        QCOMPARE(musicxmlpartnames::abbreviationFor(printed), abbreviation);
    }

    void namesAndAbbreviationsAreWrittenAndNothingElseChanges() {
        const QString original = scoreWithParts(
            u"    <score-part id=\"P1\">\n      <part-name>Grand Piano, R&amp;amp;B &lt;Lead&gt;"
            u"</part-name>\n      <score-instrument id=\"P1-I1\"/>\n    </score-part>\n"
            u"    <score-part id=\"P2\">\n      <part-name>Strings, Violins</part-name>\n"
            u"      <part-name-display><display-text>Violins</display-text>"
            u"</part-name-display>\n    </score-part>\n"
            u"    <score-part id=\"P3\">\n      <part-name>Flute, Track 3</part-name>\n"
            u"      <part-abbreviation>Fl.</part-abbreviation>\n    </score-part>\n"_s);
        const auto rewritten = musicxmlpartnames::withPrintedNames(original);
        QVERIFY(rewritten);
        QCOMPARE(
            *rewritten,
            scoreWithParts(
                u"    <score-part id=\"P1\">\n      <part-name>Grand Piano, R&amp;B &lt;Lead&gt;"
                u"</part-name><part-abbreviation>Grand Pno.</part-abbreviation>\n"
                u"      <score-instrument id=\"P1-I1\"/>\n    </score-part>\n"
                u"    <score-part id=\"P2\">\n      <part-name>Strings, Violins</part-name>\n"
                u"      <part-name-display><display-text>Violins</display-text>"
                u"</part-name-display><part-abbreviation>Str.</part-abbreviation>\n"
                u"    </score-part>\n"
                u"    <score-part id=\"P3\">\n      <part-name>Flute</part-name>\n"
                u"      <part-abbreviation>Fl.</part-abbreviation>\n    </score-part>\n"_s));

        const auto parts = musicxmlpartnames::read(*rewritten);
        QVERIFY(parts);
        QCOMPARE(parts->size(), 3);
        QCOMPARE(parts->at(0).name, u"Grand Piano, R&B <Lead>"_s);
        QCOMPARE(parts->at(0).abbreviation, u"Grand Pno."_s);
        QCOMPARE(parts->at(2).abbreviation, u"Fl."_s);
    }

    void malformedDocumentsAreLeftAlone() {
        QTemporaryDir directory;
        const QString path = directory.filePath(u"score.musicxml"_s);
        const QByteArray broken =
            scoreWithParts(u"<score-part id=\"P1\"><part-name>A</part-name>"_s).toUtf8();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(broken);
        file.close();
        QVERIFY(!musicxmlpartnames::printNames(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), broken);
    }

    void aFileGainsItsNamesInPlace() {
        QTemporaryDir directory;
        const QString path = directory.filePath(u"score.musicxml"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(scoreWithParts(u"<score-part id=\"P1\"><part-name>Percussion, Slagverk ♪"
                                  u"</part-name></score-part>"_s)
                       .toUtf8());
        file.close();
        const auto parts = musicxmlpartnames::printNames(path);
        QVERIFY(parts);
        QCOMPARE(parts->size(), 1);
        QCOMPARE(parts->first().abbreviation, u"Perc."_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(
            file.readAll().contains(u"<part-abbreviation>Perc.</part-abbreviation>"_s.toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TestMusicXmlPartNames)
#include "tst_musicxmlpartnames.moc"
