#include "core/conversion/EngineLocator.h"
#include "support/FakeEngines.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestEngineLocator : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::FakeEngines> root;

    EngineLocator locator() const {
        return EngineLocator({root->path(u"Applications/mscore"_s),
                              root->path(u"homebrew/mscore"_s), root->path(u"local/mscore"_s)},
                             {root->path(u"homebrew"_s), root->path(u"local"_s)});
    }

private slots:
    void init() { root = std::make_unique<test::FakeEngines>(); }

    void museScoreIsTheFirstExecutableCandidate() {
        QCOMPARE(locator().locateMuseScore(), std::nullopt);
        root->writeScript(u"local/mscore"_s, u"true"_s);
        root->writeFile(u"homebrew/mscore"_s, "not executable");
        QCOMPARE(locator().locateMuseScore(), root->path(u"local/mscore"_s));
        root->writeScript(u"Applications/mscore"_s, u"true"_s);
        QCOMPARE(locator().locateMuseScore(), root->path(u"Applications/mscore"_s));
    }

    void toolsAreFoundInTheFirstDirectoryThatHasThem() {
        root->writeScript(u"local/lilypond"_s, u"true"_s);
        QCOMPARE(locator().locate(u"lilypond"_s), root->path(u"local/lilypond"_s));
        root->writeScript(u"homebrew/lilypond"_s, u"true"_s);
        QCOMPARE(locator().locate(u"lilypond"_s), root->path(u"homebrew/lilypond"_s));
    }

    void directoriesAndPathEntriesDoNotCount() {
        QVERIFY(QDir().mkpath(root->path(u"homebrew/musicxml2ly"_s)));
        QCOMPARE(locator().locate(u"musicxml2ly"_s), std::nullopt);
        // "sh" is on every PATH, but not in the tool directories.
        QCOMPARE(locator().locate(u"sh"_s), std::nullopt);
    }

    void statusIsAskedAfreshEveryTime() {
        QCOMPARE(locator().installedEngines(), InstalledEngines{});
        root->writeScript(u"local/mscore"_s, u"true"_s);
        root->writeScript(u"local/musicxml2ly"_s, u"true"_s);
        QCOMPARE(locator().installedEngines(),
                 (InstalledEngines{.museScore = true, .musicxml2ly = true, .lilypond = false}));
        root->writeScript(u"homebrew/lilypond"_s, u"true"_s);
        QVERIFY(locator().installedEngines().allReady());
        QVERIFY(QFile::remove(root->path(u"local/mscore"_s)));
        QVERIFY(!locator().installedEngines().museScore);
    }
};

QTEST_GUILESS_MAIN(TestEngineLocator)
#include "tst_enginelocator.moc"
