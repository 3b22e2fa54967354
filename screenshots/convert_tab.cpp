#include "ConvertWindow.h"
#include "QuickItemSearch.h"
#include "core/conversion/Converter.h"
#include "qml/style/ColorSchemeApplier.h"
#include "support/IsolatedSettings.h"
#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::ColorSchemeApplier;
using velmarto::ContentViewModel;
using velmarto::Converter;
using velmarto::Preferences;
using velmarto::test::ConvertWindow;

// Walks the Convert tab through its states with the real engines and keeps a picture of each, in
// light and dark, in the build tree for people to compare with the intended layout.
class TestScreenshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QSettings().clear();
        QVERIFY(QDir().mkpath(QStringLiteral(VELMARTO_SCREENSHOT_DIR)));
    }

    void theConvertTabInEachState() {
        const Converter converter;
        if (!converter.allReady()) {
            QSKIP("MuseScore, musicxml2ly and LilyPond must be installed");
        }
        ConvertWindow window({1100, 720}, ConvertWindow::Engines::Installed);
        window.preferences.setAppearance(u"light"_s);
        ColorSchemeApplier applier(window.preferences, nullptr);
        QVERIFY(window.ready());
        QQuickView& view = window.view;
        Preferences& preferences = window.preferences;
        ContentViewModel& model = *window.model;

        saveInBothSchemes(view, preferences, u"1-empty"_s);

        model.setMIDI(QUrl::fromLocalFile(window.engines.writeFile(
            u"Prelude in C.mid"_s, velmarto::test::MidiFileBuilder::scale(8).build())));
        QTest::qWait(400);
        saveInBothSchemes(view, preferences, u"2-file-chosen"_s);

        model.convert();
        QTest::qWait(100);
        saveInBothSchemes(view, preferences, u"3-converting"_s);

        QTRY_VERIFY_WITH_TIMEOUT(model.isDraft() || !model.isConverting(), 180000);
        QVERIFY(model.isDraft());
        QVERIFY(QTest::qWaitFor([&] { return firstPageShown(view); }, 20000));
        saveInBothSchemes(view, preferences, u"3b-draft"_s);

        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 180000);
        QVERIFY2(model.hasResult(), qPrintable(model.errorText()));
        const bool shown = QTest::qWaitFor([&] { return firstPageShown(view); }, 20000);
        QTest::qWait(400);
        saveInBothSchemes(view, preferences, u"4-done"_s);
        QVERIFY(shown);

        // The import options open, one changed after the conversion, the sidebar scrolled down.
        model.importOptions()->setExpanded(true);
        preferences.setImportOption(u"voices"_s, u"2"_s);
        QQuickItem* scrollBar =
            velmarto::test::visualDescendant(view.rootObject(), u"sidebarScrollBar"_s);
        QVERIFY(scrollBar);
        QTest::qWait(200);
        scrollBar->setProperty("position", 1.0 - scrollBar->property("size").toReal());
        QTest::qWait(200);
        saveInBothSchemes(view, preferences, u"7-import-options"_s);
        scrollBar->setProperty("position", 0.0);
        preferences.setImportOption(u"voices"_s, u"auto"_s);
        model.importOptions()->setExpanded(false);

        model.setMIDI(
            QUrl::fromLocalFile(window.engines.writeFile(u"Broken.mid"_s, "not a MIDI file")));
        QVERIFY(QTest::qWaitFor([&] { return !model.isConverting(); }));
        model.convert();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 180000);
        QVERIFY(model.hasError());
        QTest::qWait(400);
        saveInBothSchemes(view, preferences, u"5-failed"_s);

        QQuickItem* details =
            velmarto::test::visualDescendant(view.rootObject(), u"errorDetailsLink"_s);
        QVERIFY(details);
        QMetaObject::invokeMethod(details, "clicked");
        QTest::qWait(200);
        saveInBothSchemes(view, preferences, u"6-failed-details"_s);

        const QByteArray tune = velmarto::test::MidiFileBuilder::scale(8).build();
        model.handleDrop(
            {QUrl::fromLocalFile(window.engines.writeFile(u"Minuet in G.mid"_s, tune)),
             QUrl::fromLocalFile(window.engines.writeFile(u"Gavotte.mid"_s, tune)),
             QUrl::fromLocalFile(window.engines.writeFile(u"Damaged.mid"_s, "not a MIDI file"))});
        model.setEngine(velmarto::ConversionEngine::museScoreOnly);
        model.convert();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isConverting(), 180000);
        QCOMPARE(model.queue()->convertedCount(), 2);
        QVERIFY(QTest::qWaitFor([&] { return firstPageShown(view); }, 20000));
        QTest::qWait(400);
        saveInBothSchemes(view, preferences, u"8-queue"_s);
    }

private:
    static bool firstPageShown(const QQuickView& view) {
        const QQuickItem* page = velmarto::test::visualDescendant(view.rootObject(), u"pdfPage0"_s);
        return page && page->property("isRendered").toBool();
    }

    static void saveInBothSchemes(QQuickView& view, Preferences& preferences, const QString& name) {
        save(view, name);
        preferences.setAppearance(u"dark"_s);
        QTest::qWait(200);
        save(view, name + u"-dark"_s);
        preferences.setAppearance(u"light"_s);
        QTest::qWait(200);
    }

    static void save(QQuickView& view, const QString& name) {
        const QString path = QStringLiteral(VELMARTO_SCREENSHOT_DIR) + u'/' + name + u".png"_s;
        QVERIFY2(view.grabWindow().save(path), qPrintable(path));
        qInfo("wrote %s", qPrintable(path));
    }

    velmarto::test::IsolatedSettings m_settings{u"screenshots"_s};
};

QTEST_MAIN(TestScreenshots)
#include "convert_tab.moc"
