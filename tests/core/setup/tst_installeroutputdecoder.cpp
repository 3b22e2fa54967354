#include "core/setup/InstallerOutputDecoder.h"

#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::InstallerOutputDecoder;

namespace {

InstallerOutputDecoder decoder() {
    return InstallerOutputDecoder({u"__DONE__"_s, u"__NO_BREW__"_s});
}

} // namespace

class TestInstallerOutputDecoder : public QObject {
    Q_OBJECT

private slots:
    // Wherever the pipe cuts the bytes, the log only ever grows towards the final text: no
    // half character, no piece of a marker, nothing lost.
    void everySplitIntoThreeChunksGivesTheSameText() {
        const QByteArray printed = "Using Homebrew at /opt/homebrew/bin/brew\n"
                                   "==> Installing LilyPond engraving engine\xE2\x80\xA6\n"
                                   "before__DONE__after \xF0\x9F\x8E\xB5 __NO_BREW__\n"
                                   "\xC3\xA9t\xC3\xA9 __DONE__";
        const QString shown = u"Using Homebrew at /opt/homebrew/bin/brew\n"
                              u"==> Installing LilyPond engraving engine…\n"
                              u"beforeafter 🎵 \n"
                              u"été "_s;
        for (qsizetype first = 0; first <= printed.size(); ++first) {
            for (qsizetype second = first; second <= printed.size(); ++second) {
                InstallerOutputDecoder stream = decoder();
                QString log;
                for (const QByteArray& chunk :
                     {printed.first(first), printed.sliced(first, second - first),
                      printed.sliced(second)}) {
                    log += stream.decode(chunk);
                    QVERIFY2(
                        shown.startsWith(log),
                        qPrintable(u"cut at %1 and %2 shows: "_s.arg(first).arg(second) + log));
                }
                log += stream.finish();
                QCOMPARE(log, shown);
                QVERIFY(stream.saw(u"__NO_BREW__"_s));
            }
        }
    }

    void textThatCannotBeginAMarkerIsGivenOutAtOnce() {
        InstallerOutputDecoder stream = decoder();
        QCOMPARE(stream.decode("Reading package lists..."), u"Reading package lists..."_s);
        QCOMPARE(stream.decode("done_"), u"done"_s);
        QCOMPARE(stream.decode("x\n"), u"_x\n"_s);
        QCOMPARE(stream.decode("__DON"), QString());
        QCOMPARE(stream.decode("Ex"), u"__DONEx"_s);
        QVERIFY(!stream.saw(u"__NO_BREW__"_s));
    }

    void theEndGivesOutWhatWasWaiting() {
        InstallerOutputDecoder stream = decoder();
        QCOMPARE(stream.decode("ends with __NO_BR"), u"ends with "_s);
        QCOMPARE(stream.decode("\xE2\x80"), QString());
        const QString rest = stream.finish();
        QVERIFY(rest.startsWith(u"__NO_BR\uFFFD"_s));
        QCOMPARE(rest.count(u'\uFFFD'), rest.size() - 7);
        QVERIFY(!stream.saw(u"__NO_BREW__"_s));
    }

    void bytesThatAreNotUtf8BecomeReplacementCharacters() {
        InstallerOutputDecoder stream = decoder();
        QCOMPARE(stream.decode("a\xFF"
                               "b\xC0\x80"
                               "c\n"),
                 u"a\uFFFDb\uFFFD\uFFFDc\n"_s);
    }

    void aMarkerJoinedByRemovingTheOtherIsRemovedToo() {
        InstallerOutputDecoder stream = decoder();
        QCOMPARE(stream.decode("x__NO___DONE__BREW__y"), u"xy"_s);
        QVERIFY(stream.saw(u"__NO_BREW__"_s));
    }
};

QTEST_APPLESS_MAIN(TestInstallerOutputDecoder)
#include "tst_installeroutputdecoder.moc"
