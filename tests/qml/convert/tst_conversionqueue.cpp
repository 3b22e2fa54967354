#include "ConvertWindow.h"
#include "QuickItemSearch.h"
#include "core/conversion/Converter.h"
#include "support/FileContents.h"
#include "support/IsolatedSettings.h"
#include "support/MidiFileBuilder.h"
#include "support/OwnHome.h"
#include "support/WindowDriver.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <functional>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::ConvertWindow;
using velmarto::test::fileContents;
using velmarto::test::OwnHome;
using velmarto::test::WindowDriver;

namespace {

// The Convert tab on the installed engines, with the view's own dialogs answering the model.
struct Window : OwnHome, ConvertWindow {
    Window()
        : ConvertWindow({1000, 760}, Engines::Installed, FileRequests::Dialogs) {}

    const QDir scores{home.filePath(u"Documents/Scores"_s)};

    WindowDriver driver{view};

    QString rowState(int row) const {
        QQuickItem* found = driver.item(u"queueRow%1"_s.arg(row));
        const QQuickItem* state =
            found ? velmarto::test::visualDescendant(found, u"queueRowState"_s) : nullptr;
        return state ? state->property("text").toString() : QString();
    }

    // The first shown item that matches, dialogs included: Qt's own have no object names.
    QQuickItem* find(const std::function<bool(QQuickItem*)>& matches,
                     QQuickItem* from = nullptr) const {
        from = from ? from : view.contentItem();
        if (!from->isVisible()) {
            return nullptr;
        }
        if (matches(from)) {
            return from;
        }
        for (QQuickItem* child : from->childItems()) {
            if (QQuickItem* found = find(matches, child)) {
                return found;
            }
        }
        return nullptr;
    }

    void click(const QQuickItem* target) {
        QVERIFY(target);
        // A frame first: a popup that has just opened lays out its buttons before it is drawn.
        view.grabWindow();
        QTest::mouseClick(
            &view, Qt::LeftButton, {},
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint());
    }

    void drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QQuickItem* zone = driver.item(u"dropZone"_s);
        const QPoint centre = zone->mapToScene(QPointF(zone->width() / 2, 60)).toPoint();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &enter);
        QDropEvent dropped(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &dropped);
    }

    // Save All, into the Scores folder picked in the folder dialog's list.
    void saveAllIntoScores() {
        driver.click(u"saveAllButton"_s);
        const auto scoresFolder = [this] {
            return find([](QQuickItem* item) {
                return item->property("fileName").toString() == u"Scores"_s;
            });
        };
        QTRY_VERIFY(scoresFolder());
        click(scoresFolder());
        click(find([](QQuickItem* item) {
            return item->inherits("QQuickAbstractButton") &&
                   item->property("text") == u"Save All"_s;
        }));
    }
};

} // namespace

class TestConversionQueue : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // Three MIDI files dropped together, one of them damaged, with a text file among them: each
    // converts in turn and its row says how it ended; the selected row is the one the preview
    // shows; Save All writes both scores into the chosen folder, and asks before it replaces them.
    void droppedFilesConvertInTurnAndAreSavedTogether() {
        if (!velmarto::Converter().allReady()) {
            QSKIP("MuseScore, musicxml2ly and LilyPond are not all installed");
        }
        Window window;
        QVERIFY(window.ready());
        QVERIFY(window.driver.activate());
        const QByteArray tune = velmarto::test::MidiFileBuilder::scale(4).build();
        window.drop({QUrl::fromLocalFile(window.engines.writeFile(u"First.mid"_s, tune)),
                     QUrl::fromLocalFile(window.engines.writeFile(u"Second.mid"_s, tune)),
                     QUrl::fromLocalFile(window.engines.writeFile(u"Broken.mid"_s, "not MIDI")),
                     QUrl::fromLocalFile(window.engines.writeFile(u"notes.txt"_s, "words"))});
        QTRY_COMPARE(window.driver.text(u"statusLine"_s),
                     u"Ready: 3 MIDI files — notes.txt is not a MIDI file."_s);
        QVERIFY(window.driver.shows(u"queueList"_s));
        QTRY_COMPARE(window.rowState(2), u"Waiting"_s);
        QCOMPARE(window.driver.text(u"convertButton"_s), u"Convert All 3 Files"_s);

        window.driver.click(u"fastSegment"_s);
        QTest::keyClick(&window.view, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(window.rowState(0), u"Converting…"_s);
        QVERIFY(!window.driver.item(u"saveAllButton"_s)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window.model->isConverting(), 240000);

        QCOMPARE(window.rowState(0), u"Converted"_s);
        QCOMPARE(window.rowState(1), u"Converted"_s);
        QCOMPARE(window.rowState(2), u"Failed"_s);
        QCOMPARE(window.driver.text(u"statusLine"_s),
                 u"Done — 2 of 3 files converted, 1 failed."_s);
        QCOMPARE(window.driver.text(u"midiFileName"_s), u"First.mid"_s);
        const QUrl firstPreview = window.model->previewURL();
        QVERIFY(QFile::exists(firstPreview.toLocalFile()));

        window.driver.click(u"queueRow1"_s);
        QTRY_COMPARE(window.driver.text(u"midiFileName"_s), u"Second.mid"_s);
        QVERIFY(window.model->previewURL() != firstPreview);
        QVERIFY(window.driver.shows(u"previewLoader"_s));
        QVERIFY(!window.driver.shows(u"errorBox"_s));
        QVERIFY(window.driver.item(u"queueList"_s)->hasActiveFocus());
        QTest::keyClick(&window.view, Qt::Key_Down);
        QTRY_VERIFY(window.driver.shows(u"errorBox"_s));
        QCOMPARE(window.driver.text(u"errorCause"_s),
                 u"The file looks damaged or is not a MIDI file."_s);
        QVERIFY(window.driver.shows(u"emptyState"_s));

        const QDir& out = window.scores;
        window.saveAllIntoScores();
        QTRY_COMPARE(window.driver.text(u"statusLine"_s), u"Saved 2 PDFs to "_s + out.path());
        QVERIFY(fileContents(out.filePath(u"First.pdf"_s)).startsWith("%PDF"));
        QVERIFY(fileContents(out.filePath(u"Second.pdf"_s)).startsWith("%PDF"));
        QCOMPARE(out.entryList(QDir::Files).size(), 2);

        QFile edited(out.filePath(u"First.pdf"_s));
        QVERIFY(edited.open(QIODevice::WriteOnly));
        edited.write("keep me");
        edited.close();
        window.saveAllIntoScores();
        QTRY_VERIFY(window.driver.shows(u"replacedFileNames"_s));
        QCOMPARE(window.driver.text(u"replacedFileNames"_s), u"First.pdf\nSecond.pdf"_s);
        window.driver.click(u"replaceAllCancelButton"_s);
        QTRY_VERIFY(!window.driver.shows(u"replacedFileNames"_s));
        QCOMPARE(fileContents(edited.fileName()), QByteArray("keep me"));

        window.saveAllIntoScores();
        QTRY_VERIFY(window.driver.shows(u"replaceAllButton"_s));
        window.driver.click(u"replaceAllButton"_s);
        QTRY_VERIFY(fileContents(edited.fileName()).startsWith("%PDF"));
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"conversionqueue"_s};
};

QTEST_MAIN(TestConversionQueue)
#include "tst_conversionqueue.moc"
