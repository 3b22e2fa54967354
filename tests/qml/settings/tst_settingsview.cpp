#include "SettingsWindow.h"
#include "core/settings/Preferences.h"
#include "qml/settings/SettingsViewModel.h"
#include "support/IsolatedSettings.h"

#include <QLocale>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::Preferences;
using velmarto::test::found;
using velmarto::test::missing;
using velmarto::test::SettingsWindow;

class TestSettingsView : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings().clear();
        QLocale::setDefault(QLocale(u"en_US"_s));
    }

    void firstUseShowsTheDefaultsAndWritesNothing() {
        SettingsWindow window;
        QVERIFY(window.ready());

        QCOMPARE(window.chosen(u"appearancePicker"_s), u"System"_s);
        QCOMPARE(window.chosen(u"defaultEnginePicker"_s), u"Best  (MuseScore + LilyPond)"_s);
        QCOMPARE(window.chosen(u"paperSizePicker"_s), u"US Letter"_s);
        QCOMPARE(window.item(u"revealSwitch"_s)->property("checked").toBool(), false);
        QCOMPARE(QSettings().allKeys(), QStringList());

        QLocale::setDefault(QLocale(u"en_GB"_s));
        SettingsWindow british;
        QVERIFY(british.ready());
        QCOMPARE(british.chosen(u"paperSizePicker"_s), u"A4"_s);
        QCOMPARE(QSettings().allKeys(), QStringList());
    }

    void theSegmentTitlesAreTheStoredValuesNames() {
        SettingsWindow window;
        QVERIFY(window.ready());

        const QList<std::pair<QString, QStringList>> pickers = {
            {u"appearancePicker"_s, {u"System"_s, u"Light"_s, u"Dark"_s}},
            {u"defaultEnginePicker"_s,
             {u"Best  (MuseScore + LilyPond)"_s, u"Fast  (MuseScore only)"_s}},
            {u"paperSizePicker"_s, {u"US Letter"_s, u"A4"_s}},
        };
        const QStringList values = {u"system"_s, u"light"_s,  u"dark"_s, u"both"_s,
                                    u"fast"_s,   u"letter"_s, u"a4"_s};
        QStringList titles;
        QStringList foundValues;
        for (const auto& [picker, expected] : pickers) {
            for (const QString& value : values) {
                if (QQuickItem* segment = window.segment(picker, value)) {
                    titles.append(segment->property("text").toString());
                    foundValues.append(value);
                }
            }
            QCOMPARE(titles, expected);
            titles.clear();
        }
        QCOMPARE(foundValues, values);
    }

    void everyControlWritesThroughAtOnce() {
        SettingsWindow window;
        QVERIFY(window.ready());
        QSignalSpy appearance(window.preferences.get(), &Preferences::appearanceChanged);

        window.click(window.segment(u"appearancePicker"_s, u"dark"_s));
        QCOMPARE(QSettings().value(u"appearance"_s), QVariant(u"dark"_s));
        QCOMPARE(window.chosen(u"appearancePicker"_s), u"Dark"_s);

        window.click(window.segment(u"defaultEnginePicker"_s, u"fast"_s));
        QCOMPARE(QSettings().value(u"defaultEngine"_s), QVariant(u"fast"_s));

        window.click(window.segment(u"paperSizePicker"_s, u"a4"_s));
        QCOMPARE(QSettings().value(u"paperSize"_s), QVariant(u"a4"_s));

        window.click(window.item(u"revealSwitch"_s));
        QCOMPARE(QSettings().value(u"revealAfterConvert"_s).toBool(), true);
        QCOMPARE(window.item(u"revealSwitch"_s)->property("checked").toBool(), true);

        // Choosing what is already chosen changes nothing.
        window.click(window.segment(u"appearancePicker"_s, u"dark"_s));
        QCOMPARE(appearance.count(), 1);
    }

    void aChoiceSurvivesARestart() {
        {
            SettingsWindow window;
            QVERIFY(window.ready());
            window.click(window.segment(u"paperSizePicker"_s, u"a4"_s));
        }
        SettingsWindow restarted;
        QVERIFY(restarted.ready());
        QCOMPARE(restarted.chosen(u"paperSizePicker"_s), u"A4"_s);
        QCOMPARE(restarted.preferences->paperSize(), u"a4"_s);
    }

    void aChangeMadeElsewhereShowsAtOnce() {
        SettingsWindow window;
        QVERIFY(window.ready());

        window.preferences->setAppearance(u"light"_s);
        window.preferences->setRevealAfterConvert(true);

        QCOMPARE(window.chosen(u"appearancePicker"_s), u"Light"_s);
        QCOMPARE(window.item(u"revealSwitch"_s)->property("checked").toBool(), true);
    }

    void aMissingEngineIsOrangeUntilItIsInstalled() {
        SettingsWindow window(false);
        QVERIFY(window.ready());

        QCOMPARE(window.engineState(u"lilypondStatus"_s), u"Missing"_s);
        QCOMPARE(window.engineColour(u"lilypondStatus"_s), missing.name());
        for (const QString& row : {u"museScoreStatus"_s, u"musicxml2lyStatus"_s}) {
            QCOMPARE(window.engineState(row), u"Installed"_s);
            QCOMPARE(window.engineColour(row), found.name());
        }

        window.engines.installLilypond(u"exit 0"_s);
        window.status->refresh();

        QCOMPARE(window.engineState(u"lilypondStatus"_s), u"Installed"_s);
        QCOMPARE(window.engineColour(u"lilypondStatus"_s), found.name());
    }

    void theAccountCardActsOnTheSession() {
        SettingsWindow window;
        QVERIFY(window.ready());
        window.session->refresh();
        QCOMPARE(window.item(u"signedInEmail"_s)->property("text").toString(),
                 u"ada@example.com"_s);

        window.click(window.item(u"changePasswordButton"_s));
        QCOMPARE(window.session->presentingChangePassword(), true);
        QCOMPARE(window.accounts.delivery->requests.count(), 1);
        QCOMPARE(window.accounts.delivery->requests.last().email, u"ada@example.com"_s);

        window.session->setPresentingChangePassword(false);
        window.click(window.item(u"signOutButton"_s));
        QCOMPARE(window.session->isSignedIn(), false);
        QCOMPARE(window.preferences->appearance(), u"system"_s);
    }

    void openEngineSetupAsksTheWindow() {
        SettingsWindow window;
        QVERIFY(window.ready());
        QSignalSpy requests(window.view.rootObject(), SIGNAL(engineSetupRequested()));

        window.click(window.item(u"openEngineSetupButton"_s));

        QCOMPARE(requests.count(), 1);
    }

    void theDesktopTextsNameTheLinuxDesktop() {
        SettingsWindow window;
        QVERIFY(window.ready());

        QCOMPARE(window.item(u"revealSwitch"_s)->property("text").toString(),
                 u"Reveal the PDF in the file manager automatically"_s);
        QCOMPARE(
            window.model->appearanceCaption(),
            u"Choose how Velmarto looks. \u201CSystem\u201D follows your desktop\u2019s setting."_s);
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"settingsview"_s};
};

QTEST_MAIN(TestSettingsView)

#include "tst_settingsview.moc"
