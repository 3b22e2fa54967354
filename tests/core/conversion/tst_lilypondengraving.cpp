#include "core/conversion/LilyPondEngraving.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestLilyPondEngraving : public QObject {
    Q_OBJECT

private slots:
    void textsBecomeLiteralsThatCannotEndEarly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << u"Harp Harmony"_s << u"\"Harp Harmony\""_s;
        QTest::newRow("quote, backslash, Scheme")
            << u"x\\\" #(system \"touch /tmp/p\") %"_s
            << u"\"x\\\\\\\" #(system \\\"touch /tmp/p\\\") %\""_s;
        QTest::newRow("trailing backslash") << u"Song\\"_s << u"\"Song\\\\\""_s;
        QTest::newRow("line breaks and controls")
            << u"a\nb\r\nc\td\u2028e\u0085f"_s << u"\"a b  c d e f\""_s;
        QTest::newRow("letters beyond ASCII") << u"Spår ♪"_s << u"\"Spår ♪\""_s;
    }

    void textsBecomeLiteralsThatCannotEndEarly() {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(LilyPondEngraving::quoted(text), literal);
    }

    void theClosingSetsTitleTaglineAndIndents() {
        const LilyPondEngraving engraving(
            u"Harp \"Harmony\""_s, {u"Grand Piano, Melody"_s, QString(), u"Bass"_s}, {u"Melody"_s});
        QCOMPARE(engraving.closing(),
                 u"\n% Added by Velmarto: the title, a last system as long as its music and the "
                 u"indents for the instrument names.\n"
                 u"\\header {\n    title = \"Harp \\\"Harmony\\\"\"\n    tagline = ##f\n}\n"
                 u"\\paper {\n    ragged-last = ##t\n"
                 u"    indent = #(velmarto-name-indent (list \"Grand Piano, Melody\" \"Bass\"))\n"
                 u"    short-indent = #(velmarto-name-indent (list \"Melody\"))\n}\n"_s);
    }

    void withoutTitleOrNamesNothingIsMeasured() {
        const QString closing = LilyPondEngraving(std::nullopt, {}, {}).closing();
        QVERIFY(closing.contains(u"    title = ##f\n    tagline = ##f\n"_s));
        QVERIFY(!closing.contains(u"indent ="_s));
    }

    void thePreludeDropsForcedBreaks() {
        const QString prelude = LilyPondEngraving(std::nullopt, {}, {}).prelude();
        QVERIFY(prelude.contains(u"\nbreak = {}\npageBreak = {}\n"_s));
        QVERIFY(prelude.contains(u"InstrumentName.before-line-breaking"_s));
    }
};

QTEST_GUILESS_MAIN(TestLilyPondEngraving)
#include "tst_lilypondengraving.moc"
