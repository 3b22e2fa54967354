// Writes a 60-page PDF and hands it to PDFPreview in an offscreen window. Prints how long it took
// until the first page was painted, then zooms in and out from the keyboard and prints the longest
// time the main thread was held up meanwhile, and when the visible pages were sharp again.

#include "QuickItemSearch.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::visualDescendant;

namespace {

constexpr int pageCount = 60;

QString writeScorePDF(const QTemporaryDir& folder, int pages) {
    QString path = folder.filePath(u"Long score.pdf"_s);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    QPainter painter(&writer);
    const int width = writer.width();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        // Ten systems of five staff lines each, with note heads, so the pages carry real vector
        // content.
        for (int system = 0; system < 10; ++system) {
            for (int line = 0; line < 5; ++line) {
                const int y = 600 + system * 1200 + line * 80;
                painter.drawLine(300, y, width - 300, y);
            }
            for (int note = 0; note < 32; ++note) {
                painter.drawEllipse(QPointF(500 + note * ((width - 900) / 32.0),
                                            640 + system * 1200 + (note % 9) * 40),
                                    30, 22);
            }
        }
        painter.drawText(QPointF(300, 400), u"Page %1"_s.arg(page + 1));
    }
    return path;
}

bool pageIsSharp(const QQuickView& view, int page) {
    const QQuickItem* item = visualDescendant(view.rootObject(), u"pdfPage%1"_s.arg(page));
    return item && item->property("isSharp").toBool();
}

void pressZoomKey(QQuickView& view, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(&view, &press);
    QCoreApplication::sendEvent(&view, &release);
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QTemporaryDir folder;
    const QUrl pdf = QUrl::fromLocalFile(writeScorePDF(folder, pageCount));

    QQuickView view;
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(740, 720);

    QElapsedTimer clock;
    qint64 firstPagePainted = -1;
    qint64 lastFrame = -1;
    qint64 longestFrameGap = 0;
    qint64 lastTick = -1;
    qint64 longestTickGap = 0;
    qint64 zoomEnded = -1;
    qint64 sharpAgain = -1;
    bool zooming = false;

    QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [&] {
        if (!view.rootObject()) {
            return;
        }
        const qint64 now = clock.elapsed();
        if (zooming && lastFrame >= 0) {
            longestFrameGap = std::max(longestFrameGap, now - lastFrame);
        }
        lastFrame = now;
        if (firstPagePainted < 0 && pageIsSharp(view, 0)) {
            firstPagePainted = now;
        }
        if (zoomEnded >= 0 && sharpAgain < 0 && pageIsSharp(view, 0) && pageIsSharp(view, 1)) {
            sharpAgain = now;
            application.quit();
        }
    });
    // The preview only draws when something changes; a steady pulse of updates lets the checks
    // above run after every frame, and the gaps between its ticks show when the main thread
    // was held up.
    QTimer pulse;
    pulse.setInterval(5);
    QObject::connect(&pulse, &QTimer::timeout, &view, [&] {
        const qint64 now = clock.elapsed();
        if (zooming && lastTick >= 0) {
            longestTickGap = std::max(longestTickGap, now - lastTick);
        }
        lastTick = now;
        view.update();
    });

    // Once the first page shows: four steps in and four out, 150 ms apart, as a user holding
    // Ctrl and tapping the keys would.
    int steps = 0;
    QTimer zoomSteps;
    zoomSteps.setInterval(150);
    QObject::connect(&zoomSteps, &QTimer::timeout, &view, [&] {
        if (firstPagePainted < 0) {
            return;
        }
        if (!zooming) {
            view.rootObject()->forceActiveFocus();
            zooming = true;
        }
        pressZoomKey(view, steps < 4 ? Qt::Key_Plus : Qt::Key_Minus);
        if (++steps == 8) {
            zoomSteps.stop();
            zoomEnded = clock.elapsed();
        }
    });
    QTimer::singleShot(60000, &application, &QCoreApplication::quit);

    clock.start();
    view.setInitialProperties({{u"url"_s, pdf}});
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/convert/PDFPreview.qml"_s));
    view.show();
    pulse.start();
    zoomSteps.start();
    application.exec();

    if (firstPagePainted < 0 || sharpAgain < 0) {
        std::puts("the pages were not painted within 60 s");
        return 1;
    }
    std::printf("%d-page PDF: first page painted %lld ms after loading began\n", pageCount,
                static_cast<long long>(firstPagePainted));
    std::printf("zooming 4 steps in and 4 out: longest gap between 5 ms timer ticks %lld ms, "
                "between frames %lld ms; visible pages sharp %lld ms after the last step\n",
                static_cast<long long>(longestTickGap), static_cast<long long>(longestFrameGap),
                static_cast<long long>(sharpAgain - zoomEnded));
    return 0;
}
