#include "core/conversion/Converter.h"
#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;
using velmarto::Converter;
using velmarto::EngineInstaller;
using velmarto::EngineLocator;
using velmarto::EngineStatus;
using velmarto::PlatformProfile;

// The freedesktop install script run for real, as root, through the distribution's apt-get.
class TestRealInstall : public QObject {
    Q_OBJECT

private slots:
    // MuseScore is looked for at a path of the test's own, so the installer sees it missing
    // and runs the real apt-get for it. apt-get finds the package installed and says so; the
    // path then leads to the real MuseScore, as a finished installation would.
    void aptGetRunsAsRootAndTheEnginesAreFound() {
        if (geteuid() != 0) {
            QSKIP("installing packages needs root");
        }
        if (QStandardPaths::findExecutable(u"apt-get"_s).isEmpty()) {
            QSKIP("this is not a Debian or Ubuntu system");
        }
        const Converter installed;
        if (!installed.allReady()) {
            QSKIP("the engines must be installed already (scripts/install-deps)");
        }
        QTemporaryDir folder;
        const QString museScoreHere = folder.filePath(u"mscore3"_s);
        PlatformProfile profile = PlatformProfile::freedesktop();
        profile.museScoreCandidates = {museScoreHere};
        EngineStatus engines{EngineLocator(profile)};
        EngineInstaller installer{profile.setup, &engines};
        QObject::connect(&installer, &EngineInstaller::outputAppended, &installer,
                         [&](const QString& text) {
                             if (text.contains(u"Installing MuseScore"_s)) {
                                 QFile::link(*installed.locateMuseScore(), museScoreHere);
                             }
                         });

        installer.installMissing();
        QTRY_VERIFY_WITH_TIMEOUT(installer.finished(), 600000);

        const QString output = installer.output();
        QVERIFY2(installer.success(), qPrintable(output));
        QVERIFY(!installer.brewMissing());
        QVERIFY2(output.startsWith(u"Using apt-get\n"_s), qPrintable(output));
        QVERIFY(output.contains(u"==> Installing MuseScore (smart MIDI import)…"_s));
        QVERIFY2(output.contains(u"Reading package lists"_s), qPrintable(output));
        QVERIFY2(output.contains(u"musescore3 is already the newest version"_s),
                 qPrintable(output));
        QVERIFY(!output.contains(u"__DONE__"_s));
        QVERIFY(!output.contains(u"LilyPond engraving engine"_s));
    }
};

QTEST_GUILESS_MAIN(TestRealInstall)
#include "tst_realinstall.moc"
