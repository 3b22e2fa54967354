#include "core/accounts/Session.h"
#include "support/IsolatedSettings.h"
#include "support/RootWindow.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::RootWindow;

// Which screen fills a window, from launch to sign-out, and the setup sheet over the tabs.
class TestRootView : public QObject {
    Q_OBJECT

private slots:
    void aMissingEngineHoldsTheWindowOnSetupUntilItIsDone() {
        RootWindow window;
        window.removeEngine(u"mscore"_s);
        QVERIFY(window.open());
        QCOMPARE(window.screen(), u"setup"_s);
        QVERIFY(!window.model()->enginesReady());

        window.finishSetupScreen(window.item(u"setupView"_s));

        QTRY_COMPARE(window.screen(), u"signIn"_s);
        QVERIFY(window.model()->enginesReady());
    }

    void theEnginesInPlaceLeadToSignInOrStraightToConvert() {
        RootWindow nobody;
        QVERIFY(nobody.open());
        QCOMPARE(nobody.screen(), u"signIn"_s);

        RootWindow remembered;
        remembered.accounts.remember(u"ada@example.com"_s);
        QVERIFY(remembered.open());
        QCOMPARE(remembered.screen(), u"tabs"_s);
        QCOMPARE(remembered.currentTab(), u"Convert"_s);
    }

    // Convert's shortcuts belong to its tab: while Settings shows, Ctrl+O asks for no file.
    void convertsShortcutsWaitWhileSettingsShows() {
        RootWindow window;
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        QSignalSpy requests(window.model()->contentModel(),
                            &velmarto::ContentViewModel::openFileRequested);
        window.click(u"tab-Settings"_s);
        QCOMPARE(window.currentTab(), u"Settings"_s);
        QTest::keySequence(&window.view, QKeySequence::Open);
        QCOMPARE(requests.count(), 0);

        window.click(u"tab-Convert"_s);
        QTest::keySequence(&window.view, QKeySequence::Open);
        QCOMPARE(requests.count(), 1);
    }

    // Signing in again shows the tabs afresh, on "Convert", whichever tab was showing before.
    void signingOutAndInAgainComesBackToConvert() {
        RootWindow window;
        QVERIFY(window.open());
        window.signUp(u"ada@example.com"_s, u"secret"_s);
        QTRY_COMPARE(window.screen(), u"tabs"_s);
        window.click(u"tab-Settings"_s);
        QCOMPARE(window.currentTab(), u"Settings"_s);

        window.click(u"signOutButton"_s);
        QTRY_COMPARE(window.screen(), u"signIn"_s);

        QVERIFY(window.session()->signIn(u"ada@example.com"_s, u"secret"_s));
        QTRY_COMPARE(window.screen(), u"tabs"_s);
        QCOMPARE(window.currentTab(), u"Convert"_s);
    }

    // A file name that looks like markup shows as the characters it is made of, never as a
    // link or a large red "message" of its own.
    void theNextUserSeesNothingOfThePreviousUsersWorkAndNamesStayPlainText() {
        QTemporaryDir folder;
        // No closing tags: a file name cannot hold a slash.
        const QString name =
            u"<a href=\"evil:pay-now\"><font color=\"red\" size=\"6\"><b>Licence expired!.mid"_s;
        QFile midi(folder.filePath(name));
        QVERIFY(midi.open(QIODevice::WriteOnly));
        midi.close();
        RootWindow window;
        QVERIFY(window.open());
        window.signUp(u"ada@example.com"_s, u"secret"_s);
        QTRY_COMPARE(window.screen(), u"tabs"_s);
        window.model()->contentModel()->openGivenFile(midi.fileName());
        for (const QString& shown : {u"midiFileName"_s, u"statusLine"_s}) {
            QQuickItem* text = window.item(shown);
            QVERIFY2(text && text->property("text").toString().contains(name), qPrintable(shown));
            // Rendered as markup, part of the line would be a link.
            for (qreal x = 0; x < text->width(); x += 4) {
                QString link;
                QVERIFY(QMetaObject::invokeMethod(text, "linkAt", Q_RETURN_ARG(QString, link),
                                                  Q_ARG(qreal, x), Q_ARG(qreal, 6)));
                QVERIFY2(link.isEmpty(), qPrintable(shown));
            }
        }

        QPointer<velmarto::ContentViewModel> previous = window.model()->contentModel();
        window.click(u"tab-Settings"_s);
        window.click(u"signOutButton"_s);
        QTRY_COMPARE(window.screen(), u"signIn"_s);
        QTRY_VERIFY(previous.isNull());
        window.signUp(u"bob@example.com"_s, u"secret2"_s);
        QTRY_COMPARE(window.screen(), u"tabs"_s);
        QVERIFY(!window.model()->contentModel()->hasMIDI());
        QCOMPARE(window.item(u"statusLine"_s)->property("text").toString(),
                 u"Drop a MIDI file to begin."_s);
    }

    void anEngineRemovedWhileRunningNeverBringsSetupBack() {
        RootWindow window;
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.removeEngine(u"lilypond"_s);

        window.session()->signOut();

        QTRY_COMPARE(window.screen(), u"signIn"_s);
        QVERIFY(!QTest::qWaitFor([&] { return window.screen() != u"signIn"_s; }, 50));
        QVERIFY(window.model()->enginesReady());
    }

    // Each opening shows a new setup screen with an installer of its own; its way on closes the
    // sheet and leaves the user where they were.
    void theSetupSheetOpensFromSettingsAndClosesWhenDone() {
        RootWindow window;
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.click(u"tab-Settings"_s);

        window.click(u"openEngineSetupButton"_s);
        QTRY_VERIFY(window.item(u"setupView"_s));
        QVERIFY(window.model()->showSetupSheet());
        QObject* firstInstaller =
            window.item(u"setupView"_s)->property("installer").value<QObject*>();
        QVERIFY(firstInstaller);
        QSignalSpy firstInstallerGone(firstInstaller, &QObject::destroyed);

        window.finishSetupScreen(window.item(u"setupView"_s));
        QVERIFY(!window.model()->showSetupSheet());
        QTRY_VERIFY(!window.item(u"setupView"_s));
        QTRY_COMPARE(firstInstallerGone.size(), 1);
        QCOMPARE(window.screen(), u"tabs"_s);
        QCOMPARE(window.currentTab(), u"Settings"_s);

        window.click(u"openEngineSetupButton"_s);
        QTRY_VERIFY(window.item(u"setupView"_s));
        QVERIFY(window.item(u"setupView"_s)->property("installer").value<QObject*>());
    }

    // A failed installation offers no way on, so Escape must not leave the window stuck.
    void escapeClosesTheSetupSheet() {
        RootWindow window;
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        window.click(u"tab-Settings"_s);
        window.click(u"openEngineSetupButton"_s);
        QTRY_VERIFY(window.item(u"setupView"_s));

        QTest::keyClick(&window.view, Qt::Key_Escape);

        QTRY_VERIFY(!window.model()->showSetupSheet());
        QTRY_VERIFY(!window.item(u"setupView"_s));
        QCOMPARE(window.currentTab(), u"Settings"_s);

        window.click(u"openEngineSetupButton"_s);
        QTRY_VERIFY(window.item(u"setupView"_s));
    }

    // Return and Enter press the focused tab or segment, as Space does.
    void returnAndEnterPressTheFocusedTabOrSegment() {
        RootWindow window;
        window.accounts.remember(u"ada@example.com"_s);
        QVERIFY(window.open());
        const auto press = [&window](const QString& name, Qt::Key key) {
            QQuickItem* target = window.item(name);
            QVERIFY2(target, qPrintable(name));
            target->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(&window.view, key);
        };

        press(u"tab-Settings"_s, Qt::Key_Enter);
        QCOMPARE(window.currentTab(), u"Settings"_s);
        press(u"segment-dark"_s, Qt::Key_Return);
        QCOMPARE(window.preferences.appearance(), u"dark"_s);
        press(u"segment-a4"_s, Qt::Key_Enter);
        QCOMPARE(window.preferences.paperSize(), u"a4"_s);
        press(u"tab-Convert"_s, Qt::Key_Return);
        QCOMPARE(window.currentTab(), u"Convert"_s);
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"rootview"_s};
};

QTEST_MAIN(TestRootView)
#include "tst_rootview.moc"
