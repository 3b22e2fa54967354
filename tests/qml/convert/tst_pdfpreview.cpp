#include "QuickItemSearch.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::visualDescendant;

namespace {

QUrl writePDF(const QTemporaryDir& folder, const QString& name, int pages) {
    const QString path = folder.filePath(name);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.drawText(QPointF(200, 200), u"Page %1"_s.arg(page + 1));
    }
    return QUrl::fromLocalFile(path);
}

} // namespace

// PDFPreview on its own in a window, fed real PDF files and files that are not PDFs.
class TestPDFPreview : public QObject {
    Q_OBJECT

private slots:
    // One window serves every case; each case loads the preview afresh.
    void initTestCase() {
        m_view.engine()->addImportPath(u"qrc:/qt/qml"_s);
        m_view.setResizeMode(QQuickView::SizeRootObjectToView);
    }

    void notAPDFGivesGreyThenAValidFileLoads() {
        const QString textFile = m_folder.filePath(u"notes.pdf"_s);
        QFile file(textFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("these are not the pages you are looking for");
        file.close();
        QVERIFY(show(QUrl::fromLocalFile(textFile)));

        QTRY_COMPARE(document()->property("source").toUrl(), QUrl::fromLocalFile(textFile));
        QVERIFY(!document()->property("isReady").toBool());
        QCOMPARE(pageCount(), 0);
        const QImage frame = m_view.grabWindow();
        QCOMPARE(frame.pixelColor(frame.width() / 2, frame.height() / 2), QColor(237, 237, 237));

        preview()->setProperty("url", writePDF(m_folder, u"two.pdf"_s, 2));
        QTRY_COMPARE(pageCount(), 2);
    }

    void aLocationThatFailedIsTriedAgain() {
        const QString path = m_folder.filePath(u"later.pdf"_s);
        QVERIFY(show(QUrl::fromLocalFile(path)));
        QTRY_COMPARE(document()->property("source").toUrl(), QUrl::fromLocalFile(path));
        QCOMPARE(pageCount(), 0);
        QVERIFY(QFile::copy(writePDF(m_folder, u"source.pdf"_s, 2).toLocalFile(), path));

        document()->setProperty("source", QUrl::fromLocalFile(path));

        QTRY_COMPARE(pageCount(), 2);
    }

    void aNewLocationReplacesTheDocument() {
        QVERIFY(show(writePDF(m_folder, u"two.pdf"_s, 2)));
        QTRY_COMPARE(pageCount(), 2);
        preview()->setProperty("url", writePDF(m_folder, u"three.pdf"_s, 3));
        QTRY_COMPARE(pageCount(), 3);
    }

    void pagesFitTheWidthAndFollowResizes() {
        QVERIFY(show(writePDF(m_folder, u"two.pdf"_s, 2)));
        QTRY_VERIFY(visualDescendant(preview(), u"pdfPage0"_s));
        const QQuickItem* page = visualDescendant(preview(), u"pdfPage0"_s);
        const qreal gap = preview()->property("gap").toReal();
        QCOMPARE(page->width(), 600 - 2 * gap);
        const qreal aspect = page->height() / page->width();
        QVERIFY(qAbs(aspect - 297.0 / 210.0) < 0.01);

        m_view.resize(900, 500);
        QTRY_COMPARE(page->width(), 900 - 2 * gap);
        QVERIFY(qAbs(page->height() / page->width() - aspect) < 0.001);
        QTRY_VERIFY(page->property("isRendered").toBool());
    }

    void theSameLocationKeepsTheScrollPosition() {
        const QUrl url = writePDF(m_folder, u"five.pdf"_s, 5);
        QVERIFY(show(url));
        QTRY_COMPARE(pageCount(), 5);
        auto* pages = preview()->property("pageList").value<QQuickItem*>();
        pages->setProperty("contentY", 900);
        QObject* before = document();

        document()->setProperty("source", url);

        QCOMPARE(document(), before);
        QCOMPARE(pages->property("contentY").toReal(), 900.0);
        QCOMPARE(pageCount(), 5);
    }

    void theKeyboardPagesThroughTheScoreOnceClicked() {
        QVERIFY(show(writePDF(m_folder, u"five.pdf"_s, 5)));
        QTRY_COMPARE(indicator(), u"Page 1 of 5"_s);
        QTest::mouseClick(&m_view, Qt::LeftButton, {}, QPoint(300, 250));
        QVERIFY(preview()->hasActiveFocus());

        QTest::keyClick(&m_view, Qt::Key_Down);
        QCOMPARE(contentY(), 40.0);
        QTest::keyClick(&m_view, Qt::Key_Up);
        QCOMPARE(contentY(), 0.0);
        QTest::keyClick(&m_view, Qt::Key_PageDown);
        QCOMPARE(contentY(), 500.0 - 40);
        QTest::keyClick(&m_view, Qt::Key_Space);
        QCOMPARE(contentY(), 2 * (500.0 - 40));
        QTest::keyClick(&m_view, Qt::Key_Space, Qt::ShiftModifier);
        QTest::keyClick(&m_view, Qt::Key_PageUp);
        QCOMPARE(contentY(), 0.0);

        QTest::keyClick(&m_view, Qt::Key_End);
        QVERIFY(pages()->property("atYEnd").toBool());
        QCOMPARE(indicator(), u"Page 5 of 5"_s);
        QTest::keyClick(&m_view, Qt::Key_Home);
        QCOMPARE(contentY(), 0.0);
        QCOMPARE(indicator(), u"Page 1 of 5"_s);

        // A4 pages 576 wide are 815 high: the middle of the view is on the third page here.
        pages()->setProperty("contentY", 1500);
        QCOMPARE(indicator(), u"Page 3 of 5"_s);
    }

    void zoomKeepsTheSpotUnderThePointerAndCtrlZeroFitsAgain() {
        QVERIFY(show(writePDF(m_folder, u"five.pdf"_s, 5)));
        QTRY_COMPARE(pageCount(), 5);
        QTest::mouseClick(&m_view, Qt::LeftButton, {}, QPoint(300, 250));
        const QQuickItem* page = visualDescendant(preview(), u"pdfPage0"_s);
        const qreal fitted = 600 - 2 * preview()->property("gap").toReal();
        QCOMPARE(page->width(), fitted);

        QTest::keyClick(&m_view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(page->width(), fitted * 1.25);
        QTRY_VERIFY(page->property("isSharp").toBool());
        QTest::keyClick(&m_view, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(page->width(), fitted);

        const QPoint pointer(450, 100);
        const QPointF spotBefore = page->mapFromScene(pointer);
        QWheelEvent wheel(pointer, m_view.mapToGlobal(pointer), {}, QPoint(0, 240), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&m_view, &wheel);
        QVERIFY(page->width() > fitted * 1.2);
        const qreal scale = page->width() / fitted;
        const QPointF spotAfter = page->mapFromScene(pointer) / scale;
        QVERIFY2(qAbs(spotAfter.x() - spotBefore.x()) < 2 &&
                     qAbs(spotAfter.y() - spotBefore.y()) < 2,
                 qPrintable(u"%1,%2 moved to %3,%4"_s.arg(spotBefore.x())
                                .arg(spotBefore.y())
                                .arg(spotAfter.x())
                                .arg(spotAfter.y())));

        QTest::keyClick(&m_view, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(page->width(), fitted);
        m_view.resize(800, 500);
        QTRY_COMPARE(page->width(), 800 - 2 * preview()->property("gap").toReal());
    }

    void aNewScoreStartsAtItsFirstPageFitted() {
        QVERIFY(show(writePDF(m_folder, u"five.pdf"_s, 5)));
        QTRY_COMPARE(pageCount(), 5);
        QTest::mouseClick(&m_view, Qt::LeftButton, {}, QPoint(300, 250));
        QTest::keyClick(&m_view, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&m_view, Qt::Key_End);
        QVERIFY(contentY() > 0);

        preview()->setProperty("url", writePDF(m_folder, u"three.pdf"_s, 3));

        QTRY_COMPARE(pageCount(), 3);
        QCOMPARE(contentY(), 0.0);
        QCOMPARE(preview()->property("zoom").toReal(), 1.0);
        QCOMPARE(indicator(), u"Page 1 of 3"_s);
    }

    void theEngravingThatReplacesADraftKeepsThePageAndZoom() {
        QVERIFY(show(writePDF(m_folder, u"song-draft.pdf"_s, 5)));
        QTRY_COMPARE(pageCount(), 5);
        QTest::mouseClick(&m_view, Qt::LeftButton, {}, QPoint(300, 250));
        QTest::keyClick(&m_view, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&m_view, Qt::Key_End);
        QTRY_COMPARE(indicator(), u"Page 5 of 5"_s);
        const qreal zoom = preview()->property("zoom").toReal();
        QVERIFY(zoom > 1.0);

        preview()->setProperty("url", writePDF(m_folder, u"song.pdf"_s, 6));

        QTRY_COMPARE(pageCount(), 6);
        QCOMPARE(preview()->property("zoom").toReal(), zoom);
        QTRY_COMPARE(indicator(), u"Page 5 of 6"_s);
    }

private:
    QQuickItem* pages() const { return preview()->property("pageList").value<QQuickItem*>(); }
    qreal contentY() const { return pages()->property("contentY").toReal(); }
    QString indicator() const {
        return visualDescendant(preview(), u"pageIndicator"_s)->property("text").toString();
    }

    bool show(const QUrl& url) {
        m_view.setSource(QUrl());
        m_view.setInitialProperties({{u"url"_s, url}});
        m_view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/convert/PDFPreview.qml"_s));
        m_view.resize(600, 500);
        m_view.show();
        return m_view.status() == QQuickView::Ready && QTest::qWaitForWindowExposed(&m_view);
    }

    QQuickItem* preview() const { return m_view.rootObject(); }
    QObject* document() const { return preview()->property("document").value<QObject*>(); }
    int pageCount() const {
        return preview()->property("pageList").value<QQuickItem*>()->property("count").toInt();
    }

    QTemporaryDir m_folder;
    QQuickView m_view;
};

QTEST_MAIN(TestPDFPreview)
#include "tst_pdfpreview.moc"
