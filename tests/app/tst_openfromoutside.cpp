// Files handed to Velmarto from outside its window: `velmarto FILE`, a file manager's "Open with"
// (the same command line) and the Finder's file-open events, each in a real offscreen window.

#include "app/VelmartoApp.h"
#include "support/IsolatedSettings.h"
#include "support/MidiFileBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::VelmartoApp;

class TestOpenFromOutside : public QObject {
    Q_OBJECT

    velmarto::test::IsolatedSettings m_settings{u"openfromoutside"_s};
    QTemporaryDir m_files;
    std::unique_ptr<VelmartoApp> m_app;

    QString file(const QString& name) const { return m_files.filePath(name); }

    // The status line of the window the app opened last.
    QString statusLine() const {
        const QList<QWindow*> windows = QGuiApplication::topLevelWindows();
        for (QWindow* window : windows) {
            auto* view = qobject_cast<QQuickView*>(window);
            if (view && view->isVisible() && view->rootObject()) {
                if (auto* line = view->rootObject()->findChild<QQuickItem*>(u"statusLine"_s)) {
                    return line->property("text").toString();
                }
            }
        }
        return {};
    }

private slots:
    void initTestCase() {
        VelmartoApp::configureApplication();
        // Someone signed in on an earlier run, so the window opens on the Convert tab.
        QSettings().setValue(u"session.currentEmail"_s, u"ann@example.com"_s);
        QVERIFY(velmarto::test::MidiFileBuilder::scale(2).writeTo(file(u"Song.MID"_s)));
        QVERIFY(velmarto::test::MidiFileBuilder::scale(2).writeTo(file(u"-dash.mid"_s)));
        QVERIFY(QDir(m_files.path()).mkdir(u"album.mid"_s));
        QFile notes(file(u"notes.txt"_s));
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }

    void init() { m_app = std::make_unique<VelmartoApp>(); }
    void cleanup() { m_app.reset(); }

    void theFileToOpenIsTheFirstArgumentThatIsNoOption_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fileToOpen");
        QTest::newRow("none") << QStringList{u"velmarto"_s} << QString();
        QTest::newRow("a file") << QStringList{u"velmarto"_s, u"a.mid"_s} << u"a.mid"_s;
        QTest::newRow("options before it")
            << QStringList{u"velmarto"_s, u"--reverse"_s, u"a.mid"_s, u"b.mid"_s} << u"a.mid"_s;
        QTest::newRow("only options") << QStringList{u"velmarto"_s, u"-x"_s} << QString();
        QTest::newRow("after --") << QStringList{u"velmarto"_s, u"--"_s, u"-dash.mid"_s}
                                  << u"-dash.mid"_s;
    }

    void theFileToOpenIsTheFirstArgumentThatIsNoOption() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, fileToOpen);
        QCOMPARE(VelmartoApp::fileToOpen(arguments), fileToOpen);
    }

    void aMIDIFileOpensReadyToConvert_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("status");
        QTest::newRow("absolute") << file(u"Song.MID"_s) << u"Ready: Song.MID"_s;
        QTest::newRow("relative to the working folder") << u"-dash.mid"_s << u"Ready: -dash.mid"_s;
    }

    void aMIDIFileOpensReadyToConvert() {
        QFETCH(QString, path);
        QFETCH(QString, status);
        QDir::setCurrent(m_files.path());
        QVERIFY(m_app->openWindow(path));
        QCOMPARE(statusLine(), status);
    }

    void aFileThatCannotBeTakenOpensTheWindowAndSaysWhy_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("status");
        QTest::newRow("missing") << file(u"Missing.mid"_s) << u"Could not find Missing.mid."_s;
        QTest::newRow("a folder") << file(u"album.mid"_s)
                                  << u"album.mid is a folder, not a MIDI file."_s;
        QTest::newRow("not MIDI") << file(u"notes.txt"_s) << u"notes.txt is not a MIDI file."_s;
    }

    void aFileThatCannotBeTakenOpensTheWindowAndSaysWhy() {
        QFETCH(QString, path);
        QFETCH(QString, status);
        QVERIFY(m_app->openWindow(path));
        QCOMPARE(statusLine(), status);
        QGuiApplication::processEvents();
        QCOMPARE(statusLine(), status);
    }

    void aFileOpenEventChoosesTheFileInTheOpenWindow() {
        QVERIFY(m_app->openWindow());
        QCOMPARE(statusLine(), u"Drop a MIDI file to begin."_s);
        QFileOpenEvent opened(file(u"Song.MID"_s));
        QCoreApplication::sendEvent(QCoreApplication::instance(), &opened);
        QCOMPARE(statusLine(), u"Ready: Song.MID"_s);
    }
};

QTEST_MAIN(TestOpenFromOutside)
#include "tst_openfromoutside.moc"
