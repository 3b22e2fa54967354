#include "ConvertWindow.h"
#include "QuickItemSearch.h"
#include "WindowDriver.h"
#include "support/IsolatedSettings.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::ContentViewModel;
using velmarto::test::ConvertWindow;
using velmarto::test::visualDescendant;
using velmarto::test::WindowDriver;

namespace {

// The Convert tab in an offscreen window on fake engines, driven by keys and clicks.
struct Window : ConvertWindow {
    explicit Window(QSize size = {1000, 700})
        : ConvertWindow(size) {}

    bool ready() { return ConvertWindow::ready() && WindowDriver(view).activate(); }

    QQuickItem* item(const QString& name) const {
        return const_cast<QQuickItem*>(visualDescendant(view.rootObject(), name));
    }

    void click(const QString& name) { ConvertWindow::click(item(name)); }

    void convertFile(const QString& name) {
        model->setMIDI(midi(name));
        click(u"convertButton"_s);
        QTRY_VERIFY_WITH_TIMEOUT(model->hasResult() && !model->isConverting(), 20000);
    }

    void failAConversion() {
        model->setMIDI(midi(u"Broken.mid"_s));
        failToConvertAgain();
    }

    // The earlier result, if any, stays on screen above a long transcript.
    void failToConvertAgain() {
        engines.installLilypond(
            u"i=0; while [ $i -lt 300 ]; do echo \"warning: line $i\"; i=$((i+1)); done; exit 1"_s);
        model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(model->hasError(), 20000);
    }
};

// The bar itself stays visible whenever it may be needed; what the user sees is its handle.
bool isScrollBarShown(const QQuickItem* bar) {
    const auto* handle = bar ? bar->property("contentItem").value<QQuickItem*>() : nullptr;
    return handle && bar->isVisible() && handle->opacity() > 0.5;
}

} // namespace

class TestContentViewInput : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void spaceAfterAClickNeverStartsASecondConversion() {
        Window window;
        QVERIFY(window.ready());
        window.convertFile(u"Song.mid"_s);
        QSignalSpy conversions(window.model.get(), &ContentViewModel::isConvertingChanged);

        QTest::keyClick(&window.view, Qt::Key_Space);
        QTest::keyClick(&window.view, Qt::Key_Return);
        QVERIFY(!conversions.wait(100));

        // Clicked, the preview takes the keys (tst_pdfpreview pages through real scores).
        QTRY_VERIFY(window.item(u"previewPages"_s));
        window.click(u"previewPages"_s);
        QVERIFY(window.item(u"previewPages"_s)->parentItem()->hasActiveFocus());
        QVERIFY(window.item(u"previewFocusRing"_s)->isVisible());
        QTest::keyClick(&window.view, Qt::Key_Space);
        QVERIFY(!conversions.wait(100));
    }

    void buttonsShowARingOnlyForTheKeyboardAndReturnPressesThem() {
        Window window;
        QVERIFY(window.ready());
        window.click(u"fastSegment"_s);
        QVERIFY(!window.item(u"fastSegment"_s)->hasActiveFocus());

        QQuickItem* best = window.item(u"bestSegment"_s);
        for (int presses = 0; presses < 10 && !best->hasActiveFocus(); ++presses) {
            QTest::keyClick(&window.view, Qt::Key_Tab);
        }
        QVERIFY(best->property("visualFocus").toBool());
        QTest::keyClick(&window.view, Qt::Key_Return);
        QCOMPARE(window.model->engine(), velmarto::ConversionEngine::both);
    }

    void shortcutsWorkAfterSelectingTheErrorText() {
        Window window;
        QVERIFY(window.ready());
        window.failAConversion();
        QTRY_VERIFY(window.item(u"errorBox"_s)->isVisible());
        window.click(u"errorDetailsLink"_s);
        QQuickItem* error = window.item(u"errorText"_s);
        QTRY_VERIFY(error->isVisible() && error->height() > 100);
        // A frame lays the opened details out before the mouse aims at them.
        window.view.grabWindow();

        const QPoint start = error->mapToScene(QPointF(12, 14)).toPoint();
        QTest::mousePress(&window.view, Qt::LeftButton, {}, start);
        QTest::mouseMove(&window.view, start + QPoint(120, 20));
        QTest::mouseRelease(&window.view, Qt::LeftButton, {}, start + QPoint(120, 20));
        QVERIFY(!error->property("selectedText").toString().isEmpty());

        const auto requests = window.chooser.requests().size();
        QTest::keySequence(&window.view, QKeySequence::Open);
        QCOMPARE(window.chooser.requests().size(), requests + 1);

        QTest::keyClick(&window.view, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(window.model->isConverting());
        QTRY_VERIFY_WITH_TIMEOUT(!window.model->isConverting(), 20000);
    }

    void theSidebarAndTheErrorBoxShowThatTheyScroll() {
        Window window({860, 640});
        QVERIFY(window.ready());
        window.convertFile(u"Song.mid"_s);
        window.failToConvertAgain();
        QTRY_VERIFY(window.item(u"errorBox"_s)->isVisible());
        QVERIFY(window.model->hasResult());
        window.click(u"errorDetailsLink"_s);

        QTRY_VERIFY(isScrollBarShown(window.item(u"sidebarScrollBar"_s)));
        QVERIFY(isScrollBarShown(window.item(u"errorScrollBar"_s)));

        // With room for everything, nothing claims to scroll.
        window.view.resize(1000, 900);
        QTRY_VERIFY(!isScrollBarShown(window.item(u"sidebarScrollBar"_s)));
    }

    void thePresetsAreARadioGroupAndTheStatusLineSpeaks() {
        Window window;
        QVERIFY(window.ready());
        QAccessibleInterface* best =
            QAccessible::queryAccessibleInterface(window.item(u"bestSegment"_s));
        QAccessibleInterface* fast =
            QAccessible::queryAccessibleInterface(window.item(u"fastSegment"_s));
        QVERIFY(best && fast);
        QCOMPARE(best->role(), QAccessible::RadioButton);
        QVERIFY(best->state().checked);
        QVERIFY(!fast->state().checked);
        QVERIFY(best->text(QAccessible::Name).startsWith(u"Best"_s));

        QAccessibleInterface* status =
            QAccessible::queryAccessibleInterface(window.item(u"statusLine"_s));
        QVERIFY(status);
        QCOMPARE(status->role(), QAccessible::StatusBar);
        QCOMPARE(status->text(QAccessible::Name), window.model->statusMessage());
    }

    void aDarkPaletteGivesLightTextOnADarkWindow() {
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(40, 40, 44));
        dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
        dark.setColor(QPalette::Base, QColor(30, 30, 32));
        dark.setColor(QPalette::Text, QColor(235, 235, 235));
        const QPalette before = QGuiApplication::palette();
        QGuiApplication::setPalette(dark);
        Window window;
        QVERIFY(window.ready());
        const QImage frame = window.view.grabWindow();
        QGuiApplication::setPalette(before);

        // Below the footer and beside the drop zone nothing but the background shows.
        const QQuickItem* sidebar = window.item(u"sidebar"_s);
        const QPoint blank = sidebar->mapToScene(QPointF(8, sidebar->height() - 6)).toPoint();
        QVERIFY2(qGray(frame.pixel(blank)) < 90,
                 qPrintable(QString::number(qGray(frame.pixel(blank)))));
        const QPoint paneBlank(window.view.width() - 10, window.view.height() - 10);
        QVERIFY(qGray(frame.pixel(paneBlank)) < 90);

        // The status line's text stands out from what is behind it.
        const QQuickItem* status = window.item(u"statusLine"_s);
        const QRect area =
            status
                ->mapRectToScene(
                    QRectF(0, 0, status->property("contentWidth").toReal(), status->height()))
                .toAlignedRect();
        int lightest = 0;
        int darkest = 255;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                lightest = std::max(lightest, qGray(frame.pixel(x, y)));
                darkest = std::min(darkest, qGray(frame.pixel(x, y)));
            }
        }
        QVERIFY2(lightest - darkest > 80, qPrintable(u"%1 to %2"_s.arg(darkest).arg(lightest)));
        QVERIFY(darkest < 90);
    }

    void aFileDroppedOnThePreviewPaneIsTaken() {
        Window window;
        QVERIFY(window.ready());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(window.engines.writeMidi(u"Dropped.mid"_s))});
        const QPoint centre(window.view.width() - 200, window.view.height() / 2);

        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.view, &enter);
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.view, &drop);

        QTRY_COMPARE(window.model->midiFileName(), u"Dropped.mid"_s);
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"contentviewinput"_s};
};

QTEST_MAIN(TestContentViewInput)
#include "tst_contentviewinput.moc"
