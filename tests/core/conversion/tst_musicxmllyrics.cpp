#include "core/conversion/MusicXmlLyrics.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

// A one-part score as the sanitizer writes it, with the given notes in its only measure.
QString scoreWithNotes(const QString& notes) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           u"<score-partwise version=\"3.1\">\n"
           u"  <part-list>\n    <score-part id=\"P1\">\n      <part-name>Voice</part-name>\n"
           u"    </score-part>\n  </part-list>\n"
           u"  <part id=\"P1\">\n    <measure number=\"1\">\n"_s +
           notes + u"    </measure>\n  </part>\n</score-partwise>\n"_s;
}

QString note(const QString& pitch, const QString& lyrics) {
    return u"      <note>\n        <pitch>\n          <step>"_s + pitch +
           u"</step>\n          <octave>4</octave>\n        </pitch>\n"
           u"        <duration>1</duration>\n        <type>quarter</type>\n"_s +
           lyrics + u"      </note>\n"_s;
}

// A lyric as MuseScore 3 writes it, position attributes included.
QString lyric(const QString& number, const QString& text, const QString& syllabic = u"single"_s) {
    return u"        <lyric number=\""_s + number +
           u"\" default-x=\"6.58\" default-y=\"-50.80\" relative-y=\"-30.00\">\n"
           u"          <syllabic>"_s +
           syllabic + u"</syllabic>\n          <text>"_s + text + u"</text>\n        </lyric>\n"_s;
}

QString elidedLyric(const QString& first, const QString& second) {
    return u"        <lyric number=\"1\">\n          <text>"_s + first +
           u"</text>\n          <elision/>\n          <text>"_s + second +
           u"</text>\n        </lyric>\n"_s;
}

} // namespace

class TestMusicXmlLyrics : public QObject {
    Q_OBJECT

private slots:
    void repeatsOfALyricOnOneNoteGo_data() {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("doubled, as MuseScore writes two channels")
            << note(u"C"_s, lyric(u"1"_s, u"Twin"_s) + lyric(u"1"_s, u"Twin"_s)) +
                   note(u"D"_s, lyric(u"1"_s, u"kle"_s) + lyric(u"1"_s, u"kle"_s))
            << note(u"C"_s, lyric(u"1"_s, u"Twin"_s)) + note(u"D"_s, lyric(u"1"_s, u"kle"_s));
        // Removing each repeat in place made a long song take minutes.
        QTest::newRow("20000 doubled notes")
            << note(u"C"_s, lyric(u"1"_s, u"la"_s).repeated(2)).repeated(20000)
            << note(u"C"_s, lyric(u"1"_s, u"la"_s)).repeated(20000);
        QTest::newRow("tripled") << note(u"C"_s, lyric(u"1"_s, u"la"_s).repeated(3))
                                 << note(u"C"_s, lyric(u"1"_s, u"la"_s));
        QTest::newRow("the first stays, whatever its syllabic")
            << note(u"C"_s, lyric(u"1"_s, u"Twin"_s, u"begin"_s) + lyric(u"1"_s, u"Twin"_s))
            << note(u"C"_s, lyric(u"1"_s, u"Twin"_s, u"begin"_s));
        QTest::newRow("another verse between the repeats")
            << note(u"C"_s,
                    lyric(u"1"_s, u"la"_s) + lyric(u"2"_s, u"lu"_s) + lyric(u"1"_s, u"la"_s))
            << note(u"C"_s, lyric(u"1"_s, u"la"_s) + lyric(u"2"_s, u"lu"_s));
        QTest::newRow("elided syllables")
            << note(u"C"_s, elidedLyric(u"a"_s, u"ve"_s) + elidedLyric(u"a"_s, u"ve"_s))
            << note(u"C"_s, elidedLyric(u"a"_s, u"ve"_s));
    }

    void repeatsOfALyricOnOneNoteGo() {
        QFETCH(QString, notes);
        QFETCH(QString, expected);
        QCOMPARE(musicxmllyrics::withoutRepeats(scoreWithNotes(notes)), scoreWithNotes(expected));
    }

    void lyricsThatDifferStay_data() {
        QTest::addColumn<QString>("notes");
        QTest::newRow("same text, two verses")
            << note(u"C"_s, lyric(u"1"_s, u"la"_s) + lyric(u"2"_s, u"la"_s));
        QTest::newRow("same verse, two texts")
            << note(u"C"_s, lyric(u"1"_s, u"la"_s) + lyric(u"1"_s, u"lu"_s));
        QTest::newRow("same syllable on two notes")
            << note(u"C"_s, lyric(u"1"_s, u"la"_s)) + note(u"D"_s, lyric(u"1"_s, u"la"_s));
        QTest::newRow("one text of an elision")
            << note(u"C"_s, elidedLyric(u"a"_s, u"ve"_s) + lyric(u"1"_s, u"a"_s));
        QTest::newRow("text with markup characters")
            << note(u"C"_s, lyric(u"1"_s, u"R&amp;B"_s) + lyric(u"1"_s, u"R&amp;b"_s));
    }

    void lyricsThatDifferStay() {
        QFETCH(QString, notes);
        const QString score = scoreWithNotes(notes);
        QCOMPARE(musicxmllyrics::withoutRepeats(score), score);
    }

    void aDocumentThatIsNotWellFormedIsRefused() {
        QCOMPARE(musicxmllyrics::withoutRepeats(scoreWithNotes(note(u"C"_s, u"<lyric>"_s))),
                 std::nullopt);
    }

    void theFileIsRewrittenInPlace() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"tune.musicxml"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(scoreWithNotes(note(u"C"_s, lyric(u"1"_s, u"Spår"_s).repeated(2))).toUtf8());
        file.close();

        QVERIFY(musicxmllyrics::removeRepeats(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 scoreWithNotes(note(u"C"_s, lyric(u"1"_s, u"Spår"_s))));
        QVERIFY(!musicxmllyrics::removeRepeats(folder.filePath(u"missing.musicxml"_s)));
    }
};

QTEST_GUILESS_MAIN(TestMusicXmlLyrics)
#include "tst_musicxmllyrics.moc"
