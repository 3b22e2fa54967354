// How soon a "Best" conversion shows a first page, from the click on Convert in an offscreen
// window: MuseScore's draft first, LilyPond's engraving when it is done. It writes a three-minute
// two-part piece, then alternates a conversion in the window with the same conversion through
// Converter with a draft and without one (the pipeline as it was before the draft), and prints
// the medians. It also prints how long MuseScore alone takes to import the piece and to write
// its PDF, the floor of any draft.
//
//   bench_draft_preview [ROUNDS] [MIDI-FILE]   (the generated piece without a file)

#include "ConvertTabOnScreen.h"
#include "QuickItemSearch.h"
#include "core/conversion/Converter.h"
#include "qml/convert/ContentViewModel.h"
#include "support/MidiFileBuilder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::MidiFileBuilder;
using velmarto::test::visualDescendant;

namespace {

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double seconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

// 90 bars of 4/4 at 120 beats a minute: a melody in eighths over a bass in quarters.
QByteArray threeMinutePiece() {
    constexpr int bars = 90;
    const QList<int> melodySteps{0, 2, 4, 5, 7, 5, 4, 2, 4, 7, 9, 7, 5, 4, 2, 0};
    const QList<int> bassSteps{0, 7, 5, 7};
    QList<MidiFileBuilder::Note> melody;
    QList<MidiFileBuilder::Note> bass;
    for (int bar = 0; bar < bars; ++bar) {
        const int shift = (bar / 4) % 3 == 1 ? 5 : (bar / 4) % 3 == 2 ? 7 : 0;
        for (int eighth = 0; eighth < 8; ++eighth) {
            melody.append({.pitch = 67 + shift + melodySteps.at((bar * 8 + eighth) % 16),
                           .ticks = MidiFileBuilder::ticksPerQuarter / 2});
        }
        for (int quarter = 0; quarter < 4; ++quarter) {
            bass.append({.pitch = 43 + shift + bassSteps.at(quarter),
                         .ticks = MidiFileBuilder::ticksPerQuarter});
        }
    }
    return MidiFileBuilder()
        .tempo(120)
        .track(u"Melody"_s, melody)
        .track(u"Bass"_s, bass, 1)
        .build();
}

struct WindowRound {
    double firstPage = 0;
    double finalPage = 0;
    bool succeeded = false;
};

// From the click to the first page painted sharp, and to LilyPond's first page painted sharp.
WindowRound convertInWindow(QQuickView& view, velmarto::ContentViewModel& model) {
    WindowRound round;
    QElapsedTimer clock;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        const QQuickItem* page = visualDescendant(view.rootObject(), u"pdfPage0"_s);
        if (!page || !page->property("isSharp").toBool() || !page->isVisible() ||
            page->property("document").value<QObject*>()->property("source").toUrl() !=
                model.previewURL()) {
            return;
        }
        if (round.firstPage == 0 && model.isDraft()) {
            round.firstPage = seconds(clock);
        }
        if (!model.isConverting() && model.hasResult()) {
            round.finalPage = seconds(clock);
            QCoreApplication::exit();
        }
    });
    QObject::connect(&model, &velmarto::ContentViewModel::conversionFinished, &poll, [&] {
        if (!model.hasResult()) {
            QCoreApplication::exit();
        }
    });
    const QQuickItem* button = visualDescendant(view.rootObject(), u"convertButton"_s);
    const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
    poll.start();
    clock.start();
    QTest::mouseClick(&view, Qt::LeftButton, {}, centre.toPoint());
    QCoreApplication::exec();
    round.succeeded = model.hasResult();
    if (round.firstPage == 0) {
        round.firstPage = round.finalPage;
    }
    return round;
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(u"config"_s)));
    QGuiApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;

    const velmarto::Converter converter;
    if (!converter.allReady()) {
        std::puts("skipped: MuseScore, musicxml2ly and LilyPond must be installed");
        return 0;
    }
    const QString midiPath = argc > 2
                                 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()
                                 : folder.filePath(u"Three minutes.mid"_s);
    QFile midi(midiPath);
    if (argc <= 2 && (!midi.open(QIODevice::WriteOnly) || midi.write(threeMinutePiece()) < 0)) {
        return 1;
    }
    midi.close();

    ConvertTabOnScreen tab(converter);
    if (!tab.show()) {
        return 1;
    }
    velmarto::ContentViewModel& model = tab.model;
    QQuickView& view = tab.view;
    if (!QTest::qWaitForWindowExposed(&view)) {
        return 1;
    }
    model.setMIDI(QUrl::fromLocalFile(midiPath));

    QList<double> firstPages;
    QList<double> finalPages;
    QList<double> withDraft;
    QList<double> withoutDraft;
    QList<double> importAlone;
    QList<double> pdfAlone;
    const QString museScore = *converter.locateMuseScore();
    const auto museScoreSeconds = [&](const QString& output) {
        QProcess alone;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        alone.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        alone.start(museScore, {u"-o"_s, folder.filePath(output), midiPath});
        alone.waitForFinished(-1);
        return alone.exitCode() == 0 && QFile::exists(folder.filePath(output)) ? seconds(clock)
                                                                               : -1.0;
    };
    const auto converterSeconds = [&](const velmarto::ConversionProgress& progress) {
        QElapsedTimer clock;
        clock.start();
        const auto result =
            converter.convert(QUrl::fromLocalFile(midiPath), velmarto::ConversionEngine::both,
                              u"letter"_s, {}, velmarto::ScoreTitle::fromFileName(), {}, progress);
        return result ? seconds(clock) : -1.0;
    };
    for (int round = 0; round <= rounds; ++round) {
        model.setMIDI(QUrl::fromLocalFile(midiPath));
        const WindowRound shown = convertInWindow(view, model);
        const double drafted = converterSeconds({.draftReady = [](const QUrl&) {}});
        const double plain = converterSeconds({});
        const double imported = museScoreSeconds(u"alone.musicxml"_s);
        const double engraved = museScoreSeconds(u"alone.pdf"_s);
        if (!shown.succeeded || drafted < 0 || plain < 0 || imported < 0 || engraved < 0) {
            std::puts("a conversion failed");
            return 1;
        }
        // The first round warms the caches and is not counted.
        if (round > 0) {
            firstPages.append(shown.firstPage);
            finalPages.append(shown.finalPage);
            withDraft.append(drafted);
            withoutDraft.append(plain);
            importAlone.append(imported);
            pdfAlone.append(engraved);
        }
    }
    std::printf("rounds: %d\n", rounds);
    std::printf("click to first page on screen (median): %.3f s (target <= 1.5 s)\n",
                median(firstPages));
    std::printf("click to LilyPond's first page on screen (median): %.3f s\n", median(finalPages));
    std::printf("\"Best\" through Converter with a draft (median): %.3f s\n", median(withDraft));
    std::printf("\"Best\" through Converter without a draft (median): %.3f s\n",
                median(withoutDraft));
    std::printf("ratio, with a draft / without (target <= 1.03): %.3f\n",
                median(withDraft) / median(withoutDraft));
    std::printf("MuseScore alone, MIDI to MusicXML / to PDF (median): %.3f s / %.3f s\n",
                median(importAlone), median(pdfAlone));
    return 0;
}
