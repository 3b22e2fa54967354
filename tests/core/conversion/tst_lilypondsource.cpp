#include "core/conversion/LilyPondSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestLilyPondSource : public QObject {
    Q_OBJECT

private slots:
    void paperLineGoesAfterTheFirstVersionLine_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        const QString line = u"#(set-default-paper-size \"a4\")"_s;
        QTest::newRow("after the first of two")
            << u"% header\n\\version \"2.24.0\"\n\\version \"2.22\"\n{ c }\n"_s
            << u"% header\n\\version \"2.24.0\"\n"_s + line + u"\n\\version \"2.22\"\n{ c }\n"_s;
        QTest::newRow("anywhere in the line")
            << u"x \\version y\nz"_s << u"x \\version y\n"_s + line + u"\nz"_s;
        QTest::newRow("no version line") << u"{ c }\n"_s << line + u"\n{ c }\n"_s;
        QTest::newRow("empty file") << QString() << line + u'\n';
        QTest::newRow("carriage returns stay")
            << u"\\version \"2.24\"\r\n{ c }\r\n"_s
            << u"\\version \"2.24\"\r\n"_s + line + u"\n{ c }\r\n"_s;
    }

    void paperLineGoesAfterTheFirstVersionLine() {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(lilypondsource::withPaperSize(source, u"a4"_s), expected);
    }

    void museScoresPageDimensionsGiveWayToThePaperSize() {
        const QString source = u"\\version \"2.24.1\"\n\\paper {\n    paper-width = 21.0\\cm\n"
                               u"    paper-height = 29.7\\cm\n    top-margin = 1.0\\cm\n    }\n"_s;
        QCOMPARE(lilypondsource::withPaperSize(source, u"letter"_s),
                 u"\\version \"2.24.1\"\n#(set-default-paper-size \"letter\")\n\\paper {\n"
                 u"    top-margin = 1.0\\cm\n    }\n"_s);
    }

    void paperNamesCannotEscapeTheirString_data() {
        QTest::addColumn<QString>("paperSize");
        QTest::addColumn<QString>("line");
        QTest::newRow("letter") << u"letter"_s << u"#(set-default-paper-size \"letter\")"_s;
        QTest::newRow("a5landscape")
            << u"a5landscape"_s << u"#(set-default-paper-size \"a5landscape\")"_s;
        QTest::newRow("quote") << u"a4\") (system \"rm -rf ~"_s
                               << u"#(set-default-paper-size \"a4\\\") (system \\\"rm -rf ~\")"_s;
        QTest::newRow("backslash") << u"a4\\"_s << u"#(set-default-paper-size \"a4\\\\\")"_s;
    }

    void paperNamesCannotEscapeTheirString() {
        QFETCH(QString, paperSize);
        QFETCH(QString, line);
        QCOMPARE(lilypondsource::paperSizeLine(paperSize), line);
    }

    void engravingSettingsFollowThePaperLineAndCloseTheSource() {
        const LilyPondEngraving engraving(u"Song"_s, {u"Piano"_s}, {});
        const QString source = u"\\version \"2.24.1\"\n\\header { title = \"Old\" }\n{ c }\n"_s;
        QCOMPARE(lilypondsource::withEngraving(source, u"a4"_s, engraving),
                 u"\\version \"2.24.1\"\n#(set-default-paper-size \"a4\")"_s + engraving.prelude() +
                     u"\n\\header { title = \"Old\" }\n{ c }\n"_s + engraving.closing());
    }

    void onlyALoneVerseLosesItsNumber() {
        const QString oneVerse =
            u"\\new Lyrics \\lyricsto \"A\" { \\set stanza = \"1.\" \\ALyricsOne }\n"
            u"\\new Lyrics \\lyricsto \"B\" { \\set stanza = \"1.\" \\BLyricsOne }\n"_s;
        QCOMPARE(lilypondsource::withoutLoneVerseNumbers(oneVerse),
                 u"\\new Lyrics \\lyricsto \"A\" { \\ALyricsOne }\n"
                 u"\\new Lyrics \\lyricsto \"B\" { \\BLyricsOne }\n"_s);
        const QString twoVerses = oneVerse + u"{ \\set stanza = \"2.\" \\ALyricsTwo }\n"_s;
        QCOMPARE(lilypondsource::withoutLoneVerseNumbers(twoVerses), twoVerses);
    }

    void unreadableSourcesAreLeftAlone() {
        const LilyPondEngraving engraving(u"Song"_s, {}, {});
        QTemporaryDir directory;
        const QString path = directory.filePath(u"song.ly"_s);
        QVERIFY(!lilypondsource::rewrite(path, u"a4"_s, engraving));
        QVERIFY(!QFile::exists(path));

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\\version \"2.24\"\n\xff\xfe");
        file.close();
        QVERIFY(!lilypondsource::rewrite(path, u"a4"_s, engraving));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\\version \"2.24\"\n\xff\xfe"));
    }

    void onlyTheTopLevelPaperBlockLosesItsPageDimensions() {
        // A lyric that spans lines and looks like a page dimension stays whole: dropping its
        // second line would leave the string open and turn the next lyric into code.
        const QString source =
            u"\\version \"2.24.1\"\n% paper-width = 1\\cm\n\\paper {\n    paper-width = 21.0\\cm\n"
            u"    % \"\n    paper-height = 29.7\\cm\n    top-margin = 1.0\\cm\n    }\n"
            u"\\header { title = \"a\npaper-width = 1\\cm\n\" }\n"
            u"\\paper {\n    paper-width = 10\\cm\n    }\n"
            u"\\score { \\layout { \\paper {\n    paper-height = 5\\cm\n} } }\n"
            u"words = \\lyricmode { \"x\n   paper-height = 1\\cm\n\" #(system \"id\") }\n"_s;
        QCOMPARE(lilypondsource::withPaperSize(source, u"a4"_s),
                 u"\\version \"2.24.1\"\n#(set-default-paper-size \"a4\")\n% paper-width = 1\\cm\n"
                 u"\\paper {\n    % \"\n    top-margin = 1.0\\cm\n    }\n"
                 u"\\header { title = \"a\npaper-width = 1\\cm\n\" }\n"
                 u"\\paper {\n    paper-width = 10\\cm\n    }\n"
                 u"\\score { \\layout { \\paper {\n    paper-height = 5\\cm\n} } }\n"
                 u"words = \\lyricmode { \"x\n   paper-height = 1\\cm\n\" #(system \"id\") }\n"_s);
    }

    void versionInsideAStringOrCommentIsNotTheVersion() {
        const QString source =
            u"% \\version \"1\"\ntitle = \"\\version\"\n\\version \"2.24\"\n{ c }"_s;
        QCOMPARE(lilypondsource::withPaperSize(source, u"a4"_s),
                 u"% \\version \"1\"\ntitle = \"\\version\"\n\\version \"2.24\"\n"
                 u"#(set-default-paper-size \"a4\")\n{ c }"_s);
    }
};

QTEST_GUILESS_MAIN(TestLilyPondSource)
#include "tst_lilypondsource.moc"
