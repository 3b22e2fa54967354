#include "ConvertWindow.h"
#include "support/FakeDesktopPortal.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/types.h>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::ConvertWindow;
using velmarto::test::FakeDesktopPortal;

namespace {

// Qt's portal theme asks the session bus for the chooser once, when the application starts, and
// draws its own dialogs if no portal answers then: the bus of the test's own and the portal on
// it are started before the application.
struct SessionBus {
    QByteArray address;
    pid_t daemon = 0;
};
SessionBus bus;
std::unique_ptr<FakeDesktopPortal> portal;

// The Convert tab under Qt's portal platform theme: every file dialog is the desktop's own
// chooser, asked for over D-Bus, here the fake portal's.
struct Window : ConvertWindow {
    Window()
        : ConvertWindow({1000, 700}, Engines::Fake, FileRequests::Dialogs) {}
};

} // namespace

class TestPortalDialogs : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        FILE* started = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        char line[512] = {};
        if (started && std::fgets(line, sizeof line, started)) {
            bus.address = QByteArray(line).trimmed();
            if (std::fgets(line, sizeof line, started)) {
                bus.daemon = static_cast<pid_t>(QByteArray(line).trimmed().toInt());
            }
        }
        if (started) {
            pclose(started);
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address);
        qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
        portal = std::make_unique<FakeDesktopPortal>(QString::fromUtf8(bus.address), 0);
    }

private slots:
    void init() { QSettings().clear(); }
    void cleanupTestCase() {
        portal.reset();
        if (bus.daemon > 0) {
            ::kill(bus.daemon, SIGTERM);
        }
    }

    // The chooser is asked with the dialog's title, the suggested name and the filter's name;
    // what the user picks there is opened and saved, with the type's extension added, and a
    // closed chooser saves nothing.
    void theDesktopsChooserOpensAndSaves() {
        QVERIFY2(!bus.address.isEmpty(), "dbus-daemon did not start");
        QVERIFY(portal->isServing());
        QTemporaryDir folder;
        Window window;
        QVERIFY(window.ready());

        QTest::keySequence(&window.view, QKeySequence::Open);
        QTRY_VERIFY(window.model->isAwaitingFile());
        QTRY_COMPARE(portal->chooserRequests().size(), 1);
        QCOMPARE(portal->chooserRequests().last(), u"OpenFile\tChoose MIDI files\t\tMIDI files"_s);
        const QUrl midi = window.midi(u"Little Tune.mid"_s);
        portal->choose(midi);
        QTRY_COMPARE(window.model->midiURL(), midi);

        window.model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(window.model->hasResult(), 20000);
        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_COMPARE(portal->chooserRequests().size(), 2);
        QCOMPARE(portal->chooserRequests().last(),
                 u"SaveFile\tSave a Copy\tLittle Tune.pdf\tPDF documents"_s);
        portal->choose(QUrl::fromLocalFile(folder.filePath(u"My Score"_s)));
        QTRY_COMPARE(window.model->statusMessage(),
                     u"Saved to "_s + folder.filePath(u"My Score.pdf"_s));
        QVERIFY(QFile::exists(folder.filePath(u"My Score.pdf"_s)));

        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_COMPARE(portal->chooserRequests().size(), 3);
        portal->dismiss();
        QTRY_VERIFY(!window.model->isAwaitingFile());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"My Score.pdf"_s});
    }
};

QTEST_MAIN(TestPortalDialogs)
#include "tst_portaldialogs.moc"
