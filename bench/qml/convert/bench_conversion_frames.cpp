// Runs one real "Best" conversion from the Convert tab in an offscreen window and prints the
// longest gaps the main thread left between frames and between timer ticks while it ran.

#include "ConvertTabOnScreen.h"
#include "core/conversion/Converter.h"
#include "qml/convert/ContentViewModel.h"
#include "support/MidiFileBuilder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(u"config"_s)));
    QGuiApplication application(argc, argv);

    const velmarto::Converter converter;
    if (!converter.allReady()) {
        std::puts("skipped: MuseScore, musicxml2ly and LilyPond must be installed");
        return 0;
    }
    const QString midiPath = folder.filePath(u"Scale.mid"_s);
    QFile midi(midiPath);
    if (!midi.open(QIODevice::WriteOnly) ||
        midi.write(velmarto::test::MidiFileBuilder::scale(16).build()) < 0) {
        return 1;
    }
    midi.close();

    ConvertTabOnScreen tab(converter);
    if (!tab.show()) {
        return 1;
    }
    velmarto::ContentViewModel& model = tab.model;
    QQuickView& view = tab.view;

    QElapsedTimer clock;
    qint64 lastFrame = -1;
    qint64 lastTick = -1;
    qint64 longestFrameGap = 0;
    qint64 longestTickGap = 0;
    int frames = 0;
    // The spinners keep the window drawing for as long as the conversion runs.
    QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [&] {
        const qint64 now = clock.elapsed();
        if (lastFrame >= 0) {
            longestFrameGap = std::max(longestFrameGap, now - lastFrame);
        }
        lastFrame = now;
        ++frames;
    });
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick >= 0) {
            longestTickGap = std::max(longestTickGap, now - lastTick);
        }
        lastTick = now;
    });
    QObject::connect(&model, &velmarto::ContentViewModel::conversionFinished, &application,
                     &QCoreApplication::quit);

    QTimer::singleShot(500, &model, [&] {
        model.setMIDI(QUrl::fromLocalFile(midiPath));
        clock.start();
        ticker.start();
        model.convert();
    });
    application.exec();

    std::printf("conversion: %s in %lld ms\n", model.hasResult() ? "succeeded" : "failed",
                static_cast<long long>(clock.elapsed()));
    std::printf("frames drawn during the conversion: %d\n", frames);
    std::printf("longest gap between frames: %lld ms (target <= 50 ms)\n",
                static_cast<long long>(longestFrameGap));
    std::printf("longest gap between 5 ms timer ticks: %lld ms (target <= 50 ms)\n",
                static_cast<long long>(longestTickGap));
    return model.hasResult() ? 0 : 1;
}
