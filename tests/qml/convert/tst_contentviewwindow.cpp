#include "ConvertWindow.h"
#include "support/FakeNotifications.h"
#include "support/IsolatedSettings.h"
#include "support/PrivateSessionBus.h"
#include "support/QuickItemSearch.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::ContentViewModel;
using velmarto::DesktopNotifier;
using velmarto::test::ConvertWindow;
using velmarto::test::FakeNotifications;
using velmarto::test::PrivateSessionBus;

namespace {

// The state colours on the light window the tests show.
const QColor found = QColor(0x17, 0x69, 0x2c);
const QColor missing = QColor(0x80, 0x40, 0x00);

// The Convert tab in a real (offscreen) window, on fake engines.
struct Window : ConvertWindow {
    QQuickItem* item(const char* name) const {
        return view.rootObject()->findChild<QQuickItem*>(QLatin1StringView(name));
    }

    // Visible on screen: the item and every ancestor are visible and opaque enough to see.
    bool shows(const char* name) const {
        for (const QQuickItem* current = item(name); current; current = current->parentItem()) {
            if (!current->isVisible() || current->opacity() < 0.99) {
                return false;
            }
        }
        return item(name) != nullptr;
    }

    QString text(const char* name) const { return item(name)->property("text").toString(); }

    void click(const char* name) { ConvertWindow::click(item(name)); }

    void chooseFile(const QString& name) {
        chooser.answerNext(midi(name));
        click("chooseFileLink");
    }

    QColor dotColour(const char* pillName) const {
        return item(pillName)
            ->findChild<QQuickItem*>(u"enginePillDot"_s)
            ->property("color")
            .value<QColor>();
    }
};

} // namespace

class TestContentViewWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void aUserChoosesConvertsAndSeesTheExportRow() {
        Window window;
        QVERIFY(window.ready());
        QVERIFY(!window.item("convertButton")->isEnabled());
        QVERIFY(!window.shows("exportSection"));
        QVERIFY(window.shows("emptyState"));
        QCOMPARE(window.text("previewTitle"), u"Score Preview"_s);
        QCOMPARE(window.text("statusLine"), u"Drop a MIDI file to begin."_s);
        QVERIFY(!window.item("dropZoneBorder")->property("dashPattern").toList().isEmpty());

        window.chooseFile(u"Song.mid"_s);

        QTRY_VERIFY(window.shows("midiFileName"));
        QCOMPARE(window.text("midiFileName"), u"Song.mid"_s);
        QVERIFY(window.item("dropZoneBorder")->property("dashPattern").toList().isEmpty());
        QVERIFY(window.item("convertButton")->isEnabled());
        QCOMPARE(window.text("statusLine"), u"Ready: Song.mid"_s);

        window.engines.installLilypond(
            u"sleep 1; printf '%%PDF-1.4 fake\\n%%%%EOF\\n' > \"$2.pdf\""_s);
        window.click("convertButton");

        QCOMPARE(window.text("convertButton"), u"Engraving…"_s);
        QVERIFY(!window.item("convertButton")->isEnabled());
        QVERIFY(window.shows("cancelButton"));
        QVERIFY(window.shows("statusSpinner"));
        QVERIFY(window.shows("primaryButtonSpinner"));
        QCOMPARE(window.text("statusLine"), u"Converting with MuseScore + LilyPond…"_s);

        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);
        QCOMPARE(window.text("convertButton"), u"Convert to Sheet Music"_s);
        QVERIFY(!window.shows("cancelButton"));
        QVERIFY(window.item("convertButton")->isEnabled());
        QVERIFY(!window.shows("statusSpinner"));
        QVERIFY(window.shows("savePDFButton"));
        QVERIFY(window.shows("musicXMLButton"));
        QVERIFY(window.shows("revealButton"));
        QVERIFY(!window.shows("errorBox"));
        QCOMPARE(window.text("previewTitle"), u"Song.pdf"_s);
        QVERIFY(!window.shows("emptyState"));
        QVERIFY(window.item("previewLoader")->property("item").value<QObject*>());
        QCOMPARE(window.text("statusLine"), u"Done — Song.pdf is ready."_s);
    }

    void theKeyboardAloneGetsAScoreSaved() {
        Window window;
        QVERIFY(window.ready());
        window.view.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));

        // Ctrl+Return does nothing before a file is chosen.
        QTest::keyClick(&window.view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.text("statusLine"), u"Drop a MIDI file to begin."_s);

        window.chooser.answerNext(QUrl::fromLocalFile(window.engines.writeMidi(u"Keys.mid"_s)));
        QTest::keySequence(&window.view, QKeySequence::Open);
        QTRY_COMPARE(window.text("statusLine"), u"Ready: Keys.mid"_s);

        QTest::keyClick(&window.view, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);

        const QString saved = window.engines.path(u"Keys saved.pdf"_s);
        window.chooser.answerNext(QUrl::fromLocalFile(saved));
        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_COMPARE(window.text("statusLine"), u"Saved to "_s + saved);
        QVERIFY(QFile::exists(saved));

        // Tab walks the controls and shows where the keyboard is; Space presses.
        QQuickItem* fast = window.item("fastSegment");
        for (int presses = 0; presses < 10 && !fast->hasActiveFocus(); ++presses) {
            QTest::keyClick(&window.view, Qt::Key_Tab);
        }
        QVERIFY(fast->hasActiveFocus());
        QVERIFY(fast->property("visualFocus").toBool());
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_COMPARE(window.model->engine(), velmarto::ConversionEngine::museScoreOnly);
    }

    // The section opens from the keyboard and every choice is in the Tab order; after a
    // conversion a change offers to convert again, and that conversion takes the new choices.
    void importOptionsAreChosenByKeyboardAndOfferToConvertAgain() {
        Window window;
        QVERIFY(window.ready());
        window.view.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        QVERIFY(window.shows("importOptionsToggle"));
        QVERIFY(!window.shows("importOptionsBody"));
        // Chosen while its link is in view: Tab scrolls the sidebar down to the options.
        window.chooseFile(u"Song.mid"_s);

        const auto tabTo = [&](QQuickItem* target) {
            for (int presses = 0; presses < 60 && !target->hasActiveFocus(); ++presses) {
                QTest::keyClick(&window.view, Qt::Key_Tab);
            }
            return target->hasActiveFocus();
        };
        QVERIFY(tabTo(window.item("importOptionsToggle")));
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_VERIFY(window.shows("importOptionsBody"));
        QTest::keyClick(&window.view, Qt::Key_Return);
        QTRY_VERIFY(!window.shows("importOptionsBody"));
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_VERIFY(window.shows("importOptionsBody"));

        QQuickItem* root = window.view.rootObject();
        QQuickItem* oneVoice = velmarto::test::visualDescendant(
            velmarto::test::visualDescendant(root, u"importOption-voices"_s), u"segment-1"_s);
        QVERIFY(tabTo(oneVoice));
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_COMPARE(window.preferences.importOption(u"voices"_s), u"1"_s);
        QVERIFY(tabTo(velmarto::test::visualDescendant(root, u"choiceBox-key"_s)));
        QTest::keyClick(&window.view, Qt::Key_Down);
        QTRY_COMPARE(window.preferences.importOption(u"key"_s), u"file"_s);

        QTest::keyClick(&window.view, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);
        QVERIFY(!window.shows("convertAgainButton"));
        window.preferences.setImportOption(u"swing"_s, u"swing"_s);
        QVERIFY(window.shows("convertAgainButton"));
        window.preferences.setImportOption(u"swing"_s, u"none"_s);
        QVERIFY(!window.shows("convertAgainButton"));
        QQuickItem* shuffle = velmarto::test::visualDescendant(
            velmarto::test::visualDescendant(root, u"importOption-swing"_s), u"segment-shuffle"_s);
        // The open section reaches below the fold; each control Tab reaches is scrolled into view.
        const auto inSidebarView = [&](QQuickItem* target) {
            const QRectF box =
                target->mapRectToItem(window.item("sidebar"), target->boundingRect());
            return box.top() >= 0 && box.bottom() <= window.item("sidebar")->height();
        };
        QVERIFY(tabTo(shuffle));
        QTRY_VERIFY(inSidebarView(shuffle));
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_VERIFY(window.shows("convertAgainButton"));
        // A frame lays the new button out, as one would before a person's next key press.
        window.view.grabWindow();
        const QUrl firstScore = window.model->pdfURL();
        QVERIFY(tabTo(window.item("convertAgainButton")));
        QTRY_VERIFY(inSidebarView(window.item("convertAgainButton")));
        QTest::keyClick(&window.view, Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(window.model->pdfURL() != firstScore, 20000);
        QVERIFY(!window.shows("convertAgainButton"));
        QFile options(QFileInfo(window.model->pdfURL().toLocalFile())
                          .dir()
                          .filePath(u"import-options.xml"_s));
        QVERIFY(options.open(QIODevice::ReadOnly));
        const QByteArray written = options.readAll();
        QVERIFY2(written.contains("<VoiceCount>0</VoiceCount>") &&
                     written.contains("<Swing>1</Swing>"),
                 written.constData());
    }

    // After a save the status line offers that copy, and Reveal shows it rather than the work
    // folder's; a file manager that exits with a failure is reported.
    void theSavedCopyIsTheOneRevealedAndAFailureIsReported() {
        Window window;
        QVERIFY(window.ready());
        window.chooseFile(u"Song.mid"_s);
        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);
        QVERIFY(!window.shows("showSavedCopyLink"));

        const QString saved = window.engines.path(u"Copy.pdf"_s);
        window.chooser.answerNext(QUrl::fromLocalFile(saved));
        window.click("savePDFButton");
        QTRY_COMPARE(window.text("statusLine"), u"Saved to "_s + saved);
        QVERIFY(window.shows("showSavedCopyLink"));
        QCOMPARE(window.text("showSavedCopyLink"), u"Show in Files"_s);
        QSignalSpy revealed(window.revealer.get(), &velmarto::FileRevealer::revealedThroughProgram);
        window.click("showSavedCopyLink");
        window.click("revealButton");
        QTRY_COMPARE(revealed.count(), 2);
        const QStringList savedCopy{u"-R"_s, saved};
        QCOMPARE(revealed.at(0).at(1).toStringList(), savedCopy);
        QCOMPARE(revealed.at(1).at(1).toStringList(), savedCopy);

        window.engines.writeScript(u"reveal"_s, u"exit 3"_s);
        window.click("revealButton");
        QTRY_COMPARE(window.text("statusLine"), u"Could not show Copy.pdf in the file manager."_s);
        QVERIFY(!window.shows("showSavedCopyLink"));
    }

    void aFastResultOffersNoMusicXML() {
        Window window;
        QVERIFY(window.ready());
        window.chooseFile(u"Song.mid"_s);
        window.click("fastSegment");
        QCOMPARE(window.model->engine(), velmarto::ConversionEngine::museScoreOnly);
        QVERIFY(window.item("fastSegment")->property("selected").toBool());
        QVERIFY(!window.item("bestSegment")->property("selected").toBool());

        window.click("convertButton");

        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);
        QVERIFY(window.shows("savePDFButton"));
        QVERIFY(window.shows("revealButton"));
        QVERIFY(!window.shows("musicXMLButton"));
    }

    void aLongTranscriptScrollsInsideTheErrorBoxAndTheOldScoreStays() {
        Window window;
        QVERIFY(window.ready());
        window.chooseFile(u"Song.mid"_s);
        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);

        window.engines.installLilypond(
            u"i=0; while [ $i -lt 3000 ]; do echo \"warning: line $i\"; i=$((i+1)); done; exit 1"_s);
        window.click("convertButton");

        QTRY_VERIFY_WITH_TIMEOUT(window.shows("errorBox"), 20000);
        QCOMPARE(window.text("statusLine"), u"Conversion failed."_s);
        window.click("errorDetailsLink");
        QTRY_VERIFY(window.shows("errorDetails"));
        QVERIFY(window.item("errorDetails")->height() <= 150);
        QVERIFY(window.item("errorText")->height() > 1000);
        QVERIFY(window.text("errorText").contains(u"warning: line 2999"_s));
        QVERIFY(window.shows("exportSection"));
        QCOMPARE(window.text("previewTitle"), u"Song.pdf"_s);
    }

    // A damaged file says so in a sentence; the engines' words wait behind "Show details", which
    // the keyboard reaches, opens, selects and copies. An engine's own failure adds no sentence.
    void aFailureIsToldPlainlyWithItsDetailsWithinTheKeyboardsReach() {
        Window window;
        QVERIFY(window.ready());
        window.view.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        window.engines.installMuseScore(u"echo 'Could not read the file'; exit 1"_s);
        window.chooser.answerNext(
            QUrl::fromLocalFile(window.engines.writeFile(u"Broken.mid"_s, "not a MIDI file")));
        window.click("chooseFileLink");
        window.click("convertButton");

        QTRY_VERIFY_WITH_TIMEOUT(window.shows("errorBox"), 20000);
        QCOMPARE(window.text("errorStageLine"), u"MuseScore import failed."_s);
        QCOMPARE(window.text("errorCause"), u"The file looks damaged or is not a MIDI file."_s);
        QVERIFY(!window.shows("errorDetails"));

        QQuickItem* detailsLink = window.item("errorDetailsLink");
        for (int presses = 0; presses < 20 && !detailsLink->hasActiveFocus(); ++presses) {
            QTest::keyClick(&window.view, Qt::Key_Tab);
        }
        QVERIFY(detailsLink->hasActiveFocus());
        QTest::keyClick(&window.view, Qt::Key_Return);
        QTRY_VERIFY(window.shows("errorDetails"));
        QCOMPARE(window.text("errorDetailsLink"), u"Hide details"_s);
        QQuickItem* copyLink = window.item("copyDetailsLink");
        QTest::keyClick(&window.view, Qt::Key_Tab);
        QVERIFY(copyLink->hasActiveFocus());
        QTest::keyClick(&window.view, Qt::Key_Tab);
        QVERIFY(window.item("errorText")->hasActiveFocus());
        QTest::keySequence(&window.view, QKeySequence::SelectAll);
        QTest::keySequence(&window.view, QKeySequence::Copy);
        QVERIFY(QGuiApplication::clipboard()->text().contains(u"Could not read the file"_s));
        QGuiApplication::clipboard()->clear();
        copyLink->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(&window.view, Qt::Key_Return);
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(u"MuseScore import failed:"_s));

        window.chooseFile(u"Song.mid"_s);
        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("errorBox"), 20000);
        QVERIFY(!window.shows("errorCause"));
        QVERIFY(!window.shows("errorDetails"));
    }

    void thePillsFollowTheEngineStatus() {
        Window window;
        QVERIFY(window.ready());
        QCOMPARE(window.dotColour("museScorePill"), found);
        QCOMPARE(window.dotColour("musicxml2lyPill"), found);
        QCOMPARE(window.dotColour("lilypondPill"), found);

        QVERIFY(QFile::remove(window.engines.path(u"bin/lilypond"_s)));
        QVERIFY(QFile::remove(window.engines.path(u"bin/mscore"_s)));
        window.status->refresh();

        QCOMPARE(window.dotColour("lilypondPill"), missing);
        QCOMPARE(window.dotColour("museScorePill"), missing);
        QCOMPARE(window.dotColour("musicxml2lyPill"), found);
    }

    void dragAndDropOfAMIDIFile() {
        Window window;
        QVERIFY(window.ready());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(window.engines.writeMidi(u"Dropped.MID"_s))});
        const QPoint centre = window.item("dropZone")
                                  ->mapToScene(QPointF(window.item("dropZone")->width() / 2, 60))
                                  .toPoint();

        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.view, &enter);
        QVERIFY(window.model->isTargeted());
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.view, &drop);

        QVERIFY(!window.model->isTargeted());
        QTRY_VERIFY(window.shows("midiFileName"));
        QCOMPARE(window.text("midiFileName"), u"Dropped.MID"_s);
    }

    void aVeryLongFileNameStaysOnOneLine() {
        Window window;
        QVERIFY(window.ready());
        const QString name = u"A very long name for a piece of music that goes on and on and on"
                             u" until it cannot fit.mid"_s;
        window.chooseFile(name);
        QTRY_VERIFY(window.shows("midiFileName"));
        QVERIFY(window.item("midiFileName")->property("truncated").toBool());
        QCOMPARE(window.item("midiFileName")->property("lineCount").toInt(), 1);

        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("exportSection"), 20000);
        window.view.resize(860, 600);
        QTRY_VERIFY(window.item("previewTitle")->property("truncated").toBool());
        QCOMPARE(window.item("previewTitle")->property("lineCount").toInt(), 1);
    }

    void theSidebarKeepsItsBoundsAndTheWindowItsMinimum() {
        Window window;
        QVERIFY(window.ready());
        QCOMPARE(window.item("sidebar")->width(), 360.0);
        // The score takes the rest of the window, up to its right edge.
        const QQuickItem* score = window.item("previewLoader");
        QCOMPARE(score->mapToScene(QPointF(score->width(), 0)).x(), 1000.0);
        window.view.resize(860, 600);
        QTRY_VERIFY(window.item("sidebar")->width() >= 320);
        QCOMPARE(window.view.rootObject()->implicitWidth(), 860.0);
        QCOMPARE(window.view.rootObject()->implicitHeight(), 600.0);
        window.view.resize(1600, 800);
        QTRY_COMPARE(window.view.rootObject()->width(), 1600.0);
        QVERIFY(window.item("sidebar")->width() <= 440);
    }

    void theCancelLinkAndEscStopTheConversionWithoutMovingTheExportButtons() {
        Window window;
        QVERIFY(window.ready());
        window.chooseFile(u"Song.mid"_s);
        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("savePDFButton"), 20000);
        const QPointF saveButtonAt = window.item("savePDFButton")->mapToScene(QPointF());
        QVERIFY(!window.shows("cancelButton"));
        window.engines.installMuseScore(u"exec sleep 30"_s);

        window.click("convertButton");
        // The pane lays the strip out on the frame after it appears; until then the score lies
        // over it and takes the click.
        const auto cancelIsInPlace = [&] {
            const QQuickItem* strip = window.item("conversionProgress");
            return window.shows("cancelButton") &&
                   window.item("previewLoader")->mapToScene(QPointF()).y() >=
                       strip->mapToScene(QPointF(0, strip->height())).y();
        };
        QTRY_VERIFY(cancelIsInPlace());
        QCOMPARE(window.item("savePDFButton")->mapToScene(QPointF()), saveButtonAt);
        window.click("cancelButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.item("convertButton")->isEnabled(), 5000);
        QCOMPARE(window.text("statusLine"), u"Conversion cancelled."_s);
        QVERIFY(!window.shows("cancelButton"));
        QVERIFY(!window.shows("errorBox"));

        window.click("convertButton");
        QTRY_VERIFY(window.shows("cancelButton"));
        // Away from the button, whose tooltip would take the first Escape.
        QTest::mouseMove(&window.view, QPoint(700, 400));
        QTest::keyClick(&window.view, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(window.item("convertButton")->isEnabled(), 5000);
        QCOMPARE(window.text("statusLine"), u"Conversion cancelled."_s);
        QVERIFY(window.shows("savePDFButton"));
    }

    void aConversionThatEndsWhileTheWindowIsInactiveIsAnnounced() {
        PrivateSessionBus bus;
        if (bus.address().isEmpty()) {
            QSKIP("dbus-daemon is not available");
        }
        QVERIFY(bus.connect(u"notifications"_s));
        QVERIFY(bus.connect(u"velmarto"_s));
        FakeNotifications notifications;
        QVERIFY(notifications.serve(QDBusConnection(u"notifications"_s)));
        Window window;
        window.notifier = DesktopNotifier(QDBusConnection(u"velmarto"_s), u"com.local.velmarto"_s);
        QVERIFY(window.ready());
        window.view.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        window.chooseFile(u"Song.mid"_s);
        window.click("convertButton");
        QTRY_VERIFY_WITH_TIMEOUT(window.shows("savePDFButton"), 20000);

        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        window.model->setMIDI(window.midi(u"Other.mid"_s));
        window.model->convert();
        // One connection delivers in order: a notice of the first conversion would come first.
        QTRY_VERIFY_WITH_TIMEOUT(!notifications.received.isEmpty(), 20000);
        QCOMPARE(notifications.received.first().body, u"Other.pdf has been engraved."_s);
        QCOMPARE(notifications.received.first().summary, u"Your score is ready"_s);
        QCOMPARE(notifications.received.size(), 1);
    }

    void theSelectedPresetsSubtitleIsWhiteOnTheGradient() {
        Window window;
        QVERIFY(window.ready());
        QVERIFY(window.item("bestSegment")->property("selected").toBool());
        const auto* subtitle =
            window.item("bestSegment")->findChild<QQuickItem*>(u"presetSubtitle"_s);
        QVERIFY(subtitle);
        const qreal textWidth = subtitle->property("contentWidth").toReal();
        const QRect area = subtitle
                               ->mapRectToScene(QRectF((subtitle->width() - textWidth) / 2, 0,
                                                       textWidth, subtitle->height()))
                               .toAlignedRect();
        const QImage frame = window.view.grabWindow();

        // The gradient behind it is a mid violet (grey level 110 to 130); black text would pull
        // pixels far below that, white text lifts them far above.
        int darkest = 255;
        int lightPixels = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int grey = qGray(frame.pixel(x, y));
                darkest = std::min(darkest, grey);
                if (grey > 200) {
                    ++lightPixels;
                }
            }
        }
        QVERIFY2(darkest > 90, qPrintable(QString::number(darkest)));
        QVERIFY2(lightPixels > 20, qPrintable(QString::number(lightPixels)));
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"contentviewwindow"_s};
};

QTEST_MAIN(TestContentViewWindow)
#include "tst_contentviewwindow.moc"
