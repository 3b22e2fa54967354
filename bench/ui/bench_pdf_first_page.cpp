// Writes a 20-page PDF, hands it to PDFPreview in an offscreen window and prints how long it took
// until the first page was painted.

#include "QuickItemSearch.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::visualDescendant;

namespace {

QString writeScorePDF(const QTemporaryDir& folder, int pages) {
    const QString path = folder.filePath(u"Twenty pages.pdf"_s);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    QPainter painter(&writer);
    const int width = writer.width();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        // Ten systems of five staff lines each, so the pages carry real vector content.
        for (int system = 0; system < 10; ++system) {
            for (int line = 0; line < 5; ++line) {
                const int y = 600 + system * 1200 + line * 80;
                painter.drawLine(300, y, width - 300, y);
            }
        }
        painter.drawText(QPointF(300, 400), u"Page %1"_s.arg(page + 1));
    }
    return path;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QTemporaryDir folder;
    const QUrl pdf = QUrl::fromLocalFile(writeScorePDF(folder, 20));

    QQuickView view;
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(740, 720);

    QElapsedTimer clock;
    qint64 firstPagePainted = -1;
    QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [&] {
        if (firstPagePainted >= 0 || !view.rootObject()) {
            return;
        }
        const QQuickItem* page = visualDescendant(view.rootObject(), u"pdfPage0"_s);
        if (page && page->property("isRendered").toBool()) {
            firstPagePainted = clock.elapsed();
            application.quit();
        }
    });
    // The spinner-free preview only draws when something changes; a steady pulse of updates
    // lets the check above run after every frame.
    QTimer pulse;
    pulse.setInterval(1);
    QObject::connect(&pulse, &QTimer::timeout, &view, &QQuickWindow::update);
    QTimer::singleShot(20000, &application, &QCoreApplication::quit);

    clock.start();
    view.setInitialProperties({{u"url"_s, pdf}});
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/convert/PDFPreview.qml"_s));
    view.show();
    pulse.start();
    application.exec();

    if (firstPagePainted < 0) {
        std::puts("the first page was not painted within 20 s");
        return 1;
    }
    std::printf("20-page PDF: first page painted %lld ms after loading began\n",
                static_cast<long long>(firstPagePainted));
    return 0;
}
