#include "core/platform/PlatformProfile.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestPlatformProfile : public QObject {
    Q_OBJECT

private slots:
    void macOSEngineLocationsAndHints() {
        const PlatformProfile mac = PlatformProfile::macOS();
        QCOMPARE(mac.kind, PlatformProfile::Kind::macOS);
        QCOMPARE(mac.toolDirectories, (QStringList{u"/opt/homebrew/bin"_s, u"/usr/local/bin"_s}));
        QCOMPARE(mac.museScoreCandidates,
                 (QStringList{u"/Applications/MuseScore 4.app/Contents/MacOS/mscore"_s,
                              u"/Applications/MuseScore 4.app/Contents/MacOS/MuseScore 4"_s,
                              u"/opt/homebrew/bin/mscore"_s, u"/usr/local/bin/mscore"_s}));
        QCOMPARE(
            mac.musicxml2lyEnvironment,
            (QMap<QString, QString>{{u"DYLD_LIBRARY_PATH"_s, u"/opt/homebrew/opt/expat/lib"_s}}));
        QVERIFY(mac.museScoreEnvironment.isEmpty());
        QCOMPARE(mac.museScoreMissingDetail,
                 u"Could not find the MuseScore 4 executable. Install it with:\n"
                 u"  brew install --cask musescore"_s);
        QCOMPARE(mac.musicxml2lyMissingDetail,
                 u"musicxml2ly ships with LilyPond. Install it with:\n  brew install lilypond"_s);
        QCOMPARE(mac.lilypondMissingDetail, u"Install LilyPond with:\n  brew install lilypond"_s);
        QCOMPARE(mac.revealProgram, u"/usr/bin/open"_s);
    }

    void freedesktopEngineLocations() {
        const PlatformProfile desktop = PlatformProfile::freedesktop(QProcessEnvironment());
        QCOMPARE(desktop.kind, PlatformProfile::Kind::freedesktop);
        QCOMPARE(desktop.toolDirectories, (QStringList{u"/usr/local/bin"_s, u"/usr/bin"_s}));
        // The generic names are MuseScore 2 on Debian and Ubuntu: they come after 4 and 3.
        QCOMPARE(desktop.museScoreCandidates,
                 (QStringList{u"/usr/local/bin/mscore4portable"_s, u"/usr/bin/mscore4portable"_s,
                              u"/usr/local/bin/mscore3"_s, u"/usr/bin/mscore3"_s,
                              u"/usr/local/bin/musescore3"_s, u"/usr/bin/musescore3"_s,
                              u"/usr/local/bin/mscore"_s, u"/usr/bin/mscore"_s,
                              u"/usr/local/bin/musescore"_s, u"/usr/bin/musescore"_s}));
        QVERIFY(desktop.musicxml2lyEnvironment.isEmpty());
        QVERIFY(desktop.museScoreMissingDetail.endsWith(u"\n  sudo apt install musescore3"_s));
        QVERIFY(desktop.lilypondMissingDetail.endsWith(u"\n  sudo apt install lilypond"_s));
    }

    void temporaryDirectoryIsNeverTheRoot_data() {
        QTest::addColumn<QString>("tmpdir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unset") << QString() << u"/tmp"_s;
        QTest::newRow("missing folder")
            << u"/nonexistent/velmarto-tmp/"_s << u"/nonexistent/velmarto-tmp"_s;
        QTest::newRow("relative") << u"scratch/../tmp"_s << QDir::currentPath() + u"/tmp"_s;
    }

    void temporaryDirectoryIsNeverTheRoot() {
        QFETCH(QString, tmpdir);
        QFETCH(QString, expected);
        QProcessEnvironment environment;
        if (!tmpdir.isNull()) {
            environment.insert(u"TMPDIR"_s, tmpdir);
        }
        QCOMPARE(PlatformProfile::temporaryDirectoryIn(environment), expected);
        QCOMPARE(PlatformProfile::freedesktop(environment).temporaryDirectory, expected);
    }

    void museScoreRunsOffscreenOnlyWithoutADisplay_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<bool>("offscreen");
        QTest::newRow("no display") << QString() << true;
        QTest::newRow("X11") << u"DISPLAY"_s << false;
        QTest::newRow("Wayland") << u"WAYLAND_DISPLAY"_s << false;
    }

    void museScoreRunsOffscreenOnlyWithoutADisplay() {
        QFETCH(QString, variable);
        QFETCH(bool, offscreen);
        QProcessEnvironment environment;
        if (!variable.isEmpty()) {
            environment.insert(variable, u":0"_s);
        }
        const auto extra = PlatformProfile::freedesktop(environment).museScoreEnvironment;
        QCOMPARE(extra.value(u"QT_QPA_PLATFORM"_s), offscreen ? u"offscreen"_s : QString());
    }
};

QTEST_GUILESS_MAIN(TestPlatformProfile)
#include "tst_platformprofile.moc"
