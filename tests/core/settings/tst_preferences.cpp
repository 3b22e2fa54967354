#include "core/settings/Preferences.h"
#include "support/IsolatedSettings.h"

#include <QLocale>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::Preferences;

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings().clear();
        QLocale::setDefault(QLocale(u"en_US"_s));
    }

    void freshStoreReadsDefaultsAndWritesNothing() {
        Preferences preferences;
        QCOMPARE(preferences.appearance(), u"system"_s);
        QCOMPARE(preferences.defaultEngine(), u"both"_s);
        QCOMPARE(preferences.paperSize(), u"letter"_s);
        QCOMPARE(preferences.revealAfterConvert(), false);
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    void settingAValueStoresItUnderItsKeyAndNotifiesOnce() {
        Preferences preferences;
        QSignalSpy paperSpy(&preferences, &Preferences::paperSizeChanged);
        QSignalSpy revealSpy(&preferences, &Preferences::revealAfterConvertChanged);
        QSignalSpy engineSpy(&preferences, &Preferences::defaultEngineChanged);
        QSignalSpy appearanceSpy(&preferences, &Preferences::appearanceChanged);

        preferences.setPaperSize(u"a4"_s);
        preferences.setRevealAfterConvert(true);
        preferences.setDefaultEngine(u"fast"_s);
        preferences.setAppearance(u"dark"_s);

        QCOMPARE(paperSpy.count(), 1);
        QCOMPARE(revealSpy.count(), 1);
        QCOMPARE(engineSpy.count(), 1);
        QCOMPARE(appearanceSpy.count(), 1);
        const QSettings store;
        QCOMPARE(store.value(u"paperSize"_s).toString(), u"a4"_s);
        QCOMPARE(store.value(u"revealAfterConvert"_s).toBool(), true);
        QCOMPARE(store.value(u"defaultEngine"_s).toString(), u"fast"_s);
        QCOMPARE(store.value(u"appearance"_s).toString(), u"dark"_s);
    }

    void reselectingTheCurrentValueIsSilent() {
        Preferences preferences;
        QSignalSpy paperSpy(&preferences, &Preferences::paperSizeChanged);
        QSignalSpy revealSpy(&preferences, &Preferences::revealAfterConvertChanged);
        preferences.setPaperSize(u"letter"_s);
        preferences.setRevealAfterConvert(false);
        QCOMPARE(paperSpy.count(), 0);
        QCOMPARE(revealSpy.count(), 0);
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    // The paper follows the locale only while the user has chosen none.
    void thePaperIsTheLocalesUntilOneIsStored() {
        Preferences preferences;
        for (const auto& [locale, paper] : {std::pair{u"en_US"_s, u"letter"_s},
                                            {u"fr_CA"_s, u"letter"_s},
                                            {u"en_GB"_s, u"a4"_s},
                                            {u"de_DE"_s, u"a4"_s}}) {
            QLocale::setDefault(QLocale(locale));
            QCOMPARE(preferences.paperSize(), paper);
        }
        QVERIFY(QSettings().allKeys().isEmpty());

        // A German locale reads A4; the user's Letter stays.
        preferences.setPaperSize(u"letter"_s);
        QCOMPARE(Preferences().paperSize(), u"letter"_s);
    }

    void storedValuesSurviveARestart() {
        Preferences(nullptr).setDefaultEngine(u"fast"_s);
        Preferences afterRestart;
        QCOMPARE(afterRestart.defaultEngine(), u"fast"_s);
    }

    // Unknown texts are handed to the readers unchanged: each of them decides what they mean.
    void unknownStoredTextsAreReadBackVerbatim() {
        QSettings store;
        store.setValue(u"paperSize"_s, u"tabloid"_s);
        store.setValue(u"defaultEngine"_s, u"turbo"_s);
        store.sync();
        Preferences preferences;
        QCOMPARE(preferences.paperSize(), u"tabloid"_s);
        QCOMPARE(preferences.defaultEngine(), u"turbo"_s);
    }

    // Import options reach the engines, so a stored text is taken only when it is one of the
    // option's choices; anything else reads as the default and is refused when set.
    void importOptionsAreOnlyTheOfferedChoices() {
        QSettings store;
        store.setValue(u"import/voices"_s, u"2"_s);
        store.setValue(u"import/swing"_s, u"</Swing><Swing>2"_s);
        store.setValue(u"import/key"_s, u"Bbm"_s);
        store.setValue(u"import/meter"_s, u"5/8"_s);
        store.setValue(u"import/tracks"_s, u"1-3"_s);
        store.sync();
        Preferences preferences;
        QCOMPARE(preferences.importOption(u"voices"_s), u"2"_s);
        QCOMPARE(preferences.importOption(u"swing"_s), u"none"_s);
        QCOMPARE(preferences.importOption(u"meter"_s), u"auto"_s);
        const velmarto::ImportOptions read = preferences.importOptions();
        QCOMPARE(read.voices, std::optional(2));
        QVERIFY(read.swing == velmarto::ImportOptions::Swing::none);
        QVERIFY(read.key == velmarto::ImportOptions::Key(velmarto::trackkey::Signature{-5, 1}));
        QVERIFY(read.tracks.isEmpty());

        QSignalSpy spy(&preferences, &Preferences::importOptionsChanged);
        preferences.setImportOption(u"quantize"_s, u"12"_s);
        preferences.setImportOption(u"tracks"_s, u"2"_s);
        preferences.setImportOption(u"quantize"_s, u"16"_s);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(QSettings().value(u"import/quantize"_s).toString(), u"16"_s);
        QCOMPARE(Preferences().importOptions().shortestNote, std::optional(16));
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"preferences"_s};
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
