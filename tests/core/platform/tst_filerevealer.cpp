#include "core/platform/FileRevealer.h"
#include "support/FakeEngines.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::FileRevealer;
using velmarto::PlatformProfile;
using velmarto::test::FakeEngines;
using velmarto::test::PrivateSessionBus;

// Answers ShowItems the way a file manager does and remembers what it was asked to show.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownItems;
    QString shownStartupId;

public slots:
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString& startupId) {
        shownItems = uris;
        shownStartupId = startupId;
    }
};

class TestFileRevealer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!m_bus.address().isEmpty()) {
            QVERIFY(m_bus.connect(u"revealer"_s));
        }
    }

    void macOSRunsOpenWithTheFileSelected() {
        FakeEngines engines;
        PlatformProfile profile = PlatformProfile::macOS();
        profile.revealProgram = recordingProgram(engines);
        FileRevealer revealer(profile);
        QSignalSpy viaProgram(&revealer, &FileRevealer::revealedThroughProgram);

        revealer.reveal(u"/scores/Song one.pdf"_s);

        QTRY_COMPARE(viaProgram.count(), 1);
        QTRY_COMPARE(recordedArguments(engines), u"-R\n/scores/Song one.pdf\n"_s);
    }

    void freedesktopAsksTheFileManagerForTheFile() {
        if (m_bus.address().isEmpty()) {
            QSKIP("dbus-daemon is not installed");
        }
        QVERIFY(m_bus.connect(u"file-manager"_s));
        QDBusConnection fileManagerBus(u"file-manager"_s);
        FakeFileManager fileManager;
        QVERIFY(fileManagerBus.registerObject(u"/org/freedesktop/FileManager1"_s, &fileManager,
                                              QDBusConnection::ExportScriptableSlots));
        QVERIFY(fileManagerBus.registerService(FileRevealer::fileManagerService));

        FakeEngines engines;
        PlatformProfile profile = PlatformProfile::freedesktop(QProcessEnvironment());
        profile.revealProgram = recordingProgram(engines);
        FileRevealer revealer(profile, u"revealer"_s);
        QSignalSpy viaFileManager(&revealer, &FileRevealer::revealedThroughFileManager);
        QSignalSpy viaProgram(&revealer, &FileRevealer::revealedThroughProgram);

        revealer.reveal(u"/scores/Song one.pdf"_s);

        QTRY_COMPARE(viaFileManager.count(), 1);
        QCOMPARE(fileManager.shownItems, QStringList{u"file:///scores/Song%20one.pdf"_s});
        QCOMPARE(fileManager.shownStartupId, QString());
        QCOMPARE(viaProgram.count(), 0);
        fileManagerBus.unregisterService(FileRevealer::fileManagerService);
        fileManagerBus.unregisterObject(u"/org/freedesktop/FileManager1"_s);
    }

    void freedesktopOpensTheFolderWhenNoFileManagerAnswers() {
        if (m_bus.address().isEmpty()) {
            QSKIP("dbus-daemon is not installed");
        }
        FakeEngines engines;
        PlatformProfile profile = PlatformProfile::freedesktop(QProcessEnvironment());
        profile.revealProgram = recordingProgram(engines);
        FileRevealer revealer(profile, u"revealer"_s, u"org.velmarto.NoSuchFileManager"_s);
        QSignalSpy viaFileManager(&revealer, &FileRevealer::revealedThroughFileManager);

        revealer.reveal(u"/scores/Song.pdf"_s);

        QTRY_COMPARE(recordedArguments(engines), u"/scores\n"_s);
        QCOMPARE(viaFileManager.count(), 0);
    }

    void freedesktopWithoutABusOpensTheFolder() {
        FakeEngines engines;
        PlatformProfile profile = PlatformProfile::freedesktop(QProcessEnvironment());
        profile.revealProgram = recordingProgram(engines);
        FileRevealer revealer(profile, u"never-connected"_s);

        revealer.reveal(u"/scores/Song.pdf"_s);

        QTRY_COMPARE(recordedArguments(engines), u"/scores\n"_s);
    }

    // A desktop without a file manager or xdg-open, or with an xdg-open that finds nothing to open
    // folders with (it exits with status 3): the caller hears of it, nothing claims success.
    void aRevealThatCannotStartOrFailsIsReported() {
        FakeEngines engines;
        PlatformProfile profile = PlatformProfile::freedesktop(QProcessEnvironment());
        profile.revealProgram = engines.path(u"bin/no-such-program"_s);
        FileRevealer revealer(profile, u"never-connected"_s);
        QSignalSpy viaProgram(&revealer, &FileRevealer::revealedThroughProgram);
        int failures = 0;

        revealer.reveal(u"/scores/Song.pdf"_s, [&failures] { ++failures; });
        QTRY_COMPARE(failures, 1);
        QCOMPARE(viaProgram.count(), 0);

        profile.revealProgram = engines.writeScript(u"bin/xdg-open"_s, u"exit 3"_s);
        FileRevealer noMethod(profile, u"never-connected"_s);
        noMethod.reveal(u"/scores/Song.pdf"_s, [&failures] { ++failures; });
        QTRY_COMPARE(failures, 2);

        profile.revealProgram = recordingProgram(engines);
        FileRevealer working(profile, u"never-connected"_s);
        working.reveal(u"/scores/Song.pdf"_s, [&failures] { ++failures; });
        QTRY_COMPARE(recordedArguments(engines), u"/scores\n"_s);
        QTRY_VERIFY(working.findChildren<QProcess*>().isEmpty());
        QCOMPARE(failures, 2);
    }

private:
    static QString recordingProgram(FakeEngines& engines) {
        return engines.writeScript(u"bin/reveal"_s,
                                   u"printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments\""_s);
    }

    static QString recordedArguments(const FakeEngines& engines) {
        QFile file(engines.path(u"bin/arguments"_s));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    PrivateSessionBus m_bus;
};

QTEST_GUILESS_MAIN(TestFileRevealer)
#include "tst_filerevealer.moc"
