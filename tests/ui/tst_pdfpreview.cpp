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

        QTest::qWait(200);
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
        QTest::qWait(100);
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

private:
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
