#include "FakeLoginShell.h"
#include "FakeProgram.h"
#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"
#include "qml/app/ViewLoader.h"
#include "qml/setup/InstallerLog.h"
#include "support/FakeEngines.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::EngineInstaller;
using velmarto::EngineLocator;
using velmarto::EngineSetupProfile;
using velmarto::EngineStatus;
using velmarto::test::FakeEngines;
using velmarto::test::FakeLoginShell;
using velmarto::test::FakeProgram;

namespace {

// The setup screen in a real (offscreen) window, over fake engines and a login shell whose
// only programs are fakes.
struct Screen {
    FakeEngines engines;
    FakeLoginShell shell;
    std::unique_ptr<FakeProgram> osascript;
    std::unique_ptr<EngineStatus> status;
    std::unique_ptr<EngineInstaller> installer;
    QQuickView view;
    int readyCount = 0;

    explicit Screen(bool museScore, bool tools,
                    EngineSetupProfile setup = EngineSetupProfile::macOS()) {
        if (museScore) {
            engines.installMuseScore(QString());
        }
        if (tools) {
            engines.installMusicxml2ly(QString());
            engines.installLilypond(QString());
        }
        shell.linkRealProgram(u"sleep"_s);
        osascript = std::make_unique<FakeProgram>(shell.path(QString()), u"osascript"_s);
        setup.shell = shell.shell();
        setup.scriptRunner = osascript->path();
        status = std::make_unique<EngineStatus>(EngineLocator(engines.profile()));
        installer = std::make_unique<EngineInstaller>(setup, status.get());
        velmarto::loadView(view, u"setup/SetupView.qml"_s,
                           {{u"installer"_s, QVariant::fromValue(installer.get())},
                            {u"engines"_s, QVariant::fromValue(status.get())}});
        view.resize(640, 900);
        view.show();
    }

    bool ready() {
        return view.status() == QQuickView::Ready && QTest::qWaitForWindowExposed(&view);
    }

    // A brew that prints, then puts working engines in place.
    void installBrew(const QString& body) {
        shell.writeProgram(u"brew"_s,
                           body + u"\nfor name in mscore musicxml2ly lilypond; do "
                                  u"printf '#!/bin/sh\\n' > '%1/'$name; /bin/chmod +x '%1/'$name; "
                                  u"done"_s.arg(engines.binDirectory()));
    }

    QQuickItem* item(const char* name) const {
        return view.rootObject()->findChild<QQuickItem*>(QLatin1StringView(name));
    }

    static bool showsItem(const QQuickItem* item) {
        for (const QQuickItem* current = item; current; current = current->parentItem()) {
            if (!current->isVisible() || current->opacity() < 0.99) {
                return false;
            }
        }
        return item != nullptr;
    }

    bool shows(const char* name) const { return showsItem(item(name)); }

    QString text(const char* name) const { return item(name)->property("text").toString(); }

    // Everything the log card holds, its pages joined.
    QString logText() const {
        const velmarto::LogPages& pages =
            view.rootObject()->findChild<velmarto::InstallerLog*>(u"installerLog"_s)->logPages();
        QString text;
        for (int row = 0; row < pages.rowCount(); ++row) {
            text += pages.index(row, 0).data(velmarto::LogPages::textRole).toString();
        }
        return text;
    }

    // The drawn page of the log that holds the text.
    QQuickItem* logPageShowing(const QString& text) const {
        const auto* scroller = item("logScroller");
        for (QQuickItem* page :
             scroller->property("contentItem").value<QQuickItem*>()->childItems()) {
            if (page->objectName() == u"logPage"_s &&
                page->property("text").toString().contains(text)) {
                return page;
            }
        }
        return nullptr;
    }

    QQuickItem* row(const char* name) const { return item(name); }
    QString rowState(const char* name) const {
        return row(name)->findChild<QQuickItem*>(u"checkState"_s)->property("text").toString();
    }
    QString rowSymbol(const char* name) const {
        return row(name)->findChild<QQuickItem*>(u"checkSymbol"_s)->property("symbol").toString();
    }

    void click(const char* name) {
        // Grabbing lays the scene out first, so the item is where the user would see it.
        view.grabWindow();
        QQuickItem* target = item(name);
        QVERIFY(target);
        const QPointF centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&view, Qt::LeftButton, {}, centre.toPoint());
    }
};

} // namespace

class TestSetupViewWindow : public QObject {
    Q_OBJECT

private slots:
    // Opened again from Settings with nothing left to install: the screen says so and lets go.
    void everythingInstalledSaysSoAndOffersDone() {
        Screen screen(true, true);
        QVERIFY(screen.ready());
        for (const char* row : {"lilypondRow", "musicxml2lyRow", "museScoreRow"}) {
            QCOMPARE(screen.rowState(row), u"Installed"_s);
            QCOMPARE(screen.rowSymbol(row), u"checkmark.circle.fill"_s);
        }
        QVERIFY(screen.text("heroSubtitle").startsWith(u"MuseScore and LilyPond are installed."_s));
        QVERIFY(!screen.shows("bootstrapCard"));
        QVERIFY(!screen.shows("logCard"));
        QVERIFY(!screen.shows("installButton"));
        QVERIFY(screen.shows("startButton"));
        QCOMPARE(screen.text("startButton"), u"Done"_s);

        QSignalSpy ready(screen.view.rootObject(), SIGNAL(ready()));
        screen.click("startButton");
        QCOMPARE(ready.count(), 1);
    }

    void onlyMuseScoreMissingOffersTheInstall() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        QCOMPARE(screen.rowState("museScoreRow"), u"Needed"_s);
        QCOMPARE(screen.rowSymbol("museScoreRow"), u"arrow.down.circle"_s);
        QCOMPARE(screen.rowState("lilypondRow"), u"Installed"_s);
        QVERIFY(!screen.shows("startButton"));
        QCOMPARE(screen.text("installButton"), u"Install Engines"_s);
        QVERIFY(screen.item("installButton")->isEnabled());
    }

    void aRunningInstallShowsItsLogAndDisablesTheButton() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        screen.installBrew(QString());
        // A slow login profile keeps the log empty for a while.
        QFile profile(screen.shell.path(u"home/.bash_profile"_s));
        QVERIFY(profile.open(QIODevice::Append));
        profile.write("sleep 1\necho 'login profile read'\nsleep 2\n");
        profile.close();

        screen.click("installButton");

        QVERIFY(screen.shows("logCard"));
        QVERIFY(screen.shows("logPlaceholder"));
        QCOMPARE(screen.text("logPlaceholder"), u"Preparing…"_s);
        QVERIFY(!screen.item("installButton")->isEnabled());
        QCOMPARE(screen.text("installButton"), u"Setting up engines…"_s);
        QVERIFY(Screen::showsItem(
            screen.item("installButton")->findChild<QQuickItem*>(u"primaryButtonSpinner"_s)));
        QVERIFY(!screen.shows("bootstrapCard"));

        QTRY_COMPARE(screen.logText(), u"login profile read\n"_s);
        QVERIFY(!screen.shows("logPlaceholder"));
        QVERIFY(screen.installer->isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
    }

    void aSuccessfulRunTurnsTheRowsGreenAndOffersTheWayOn() {
        Screen screen(false, false);
        QVERIFY(screen.ready());
        screen.installBrew(u"echo \"brew $*\""_s);

        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
        QVERIFY(screen.shows("startButton"));
        QCOMPARE(screen.rowState("museScoreRow"), u"Installed"_s);
        QCOMPARE(screen.rowState("lilypondRow"), u"Installed"_s);
        QCOMPARE(screen.text("startButton"), u"Start Using Velmarto"_s);
        QVERIFY(!screen.shows("installButton"));
        QVERIFY(!screen.shows("bootstrapCard"));
        QVERIFY(screen.shows("logCard"));
        QVERIFY(screen.logText().contains(u"brew install --cask musescore"_s));

        QSignalSpy ready(screen.view.rootObject(), SIGNAL(ready()));
        screen.click("startButton");
        QCOMPARE(ready.count(), 1);
    }

    void noHomebrewBringsUpTheCardAndRetry() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
        QVERIFY(screen.shows("bootstrapCard"));
        QCOMPARE(screen.text("bootstrapTitle"), u"Homebrew is required"_s);
        QCOMPARE(screen.text("bootstrapText"),
                 u"Velmarto installs the engines through Homebrew, the macOS package manager. "
                 u"It isn’t installed yet. Click below to install it (Terminal will open and may "
                 u"ask for your password), then return here and press “Retry Install”."_s);
        QCOMPARE(screen.text("bootstrapButton"), u"Install Homebrew…"_s);
        QCOMPARE(screen.text("installButton"), u"Retry Install"_s);
        QVERIFY(screen.item("installButton")->isEnabled());
        QCOMPARE(screen.rowState("museScoreRow"), u"Needed"_s);
        // The card sits between the checklist and the log.
        QVERIFY(screen.item("bootstrapCard")->y() < screen.item("logCard")->y());

        screen.click("bootstrapButton");
        QTRY_COMPARE(screen.osascript->runCount(), 1);
        QVERIFY(screen.shows("bootstrapCard"));
    }

    // At the size the sheet has in a window of the default size, the card with the command
    // and Retry Install are both in sight; the command is copied from the keyboard, and a
    // terminal that cannot be opened is said.
    void withoutAdministratorRightsTheCommandAndRetryAreInSight() {
        Screen screen(false, false, EngineSetupProfile::freedesktop({}));
        screen.view.resize(720, 620);
        QVERIFY(screen.ready());
        screen.shell.pretendUserId(1000);
        screen.shell.writeProgram(u"apt-get"_s, QString());
        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.shows("bootstrapCard"), 20000);
        QCOMPARE(screen.text("bootstrapTitle"), u"Administrator rights are needed"_s);
        QCOMPARE(screen.text("manualCommand"),
                 u"sudo apt-get install --no-install-recommends musescore3 lilypond"_s);
        QCOMPARE(screen.text("bootstrapButton"), u"Install in a Terminal…"_s);
        screen.view.grabWindow();
        for (const char* name : {"manualCommand", "copyCommandButton", "installButton"}) {
            const QQuickItem* item = screen.item(name);
            const QRectF shown = item->mapRectToScene(item->boundingRect());
            QVERIFY2(shown.top() >= 0 && shown.bottom() <= screen.view.height(), name);
        }

        QGuiApplication::clipboard()->clear();
        QQuickItem* copy = screen.item("copyCommandButton");
        copy->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(&screen.view, Qt::Key_Space);
        QCOMPARE(QGuiApplication::clipboard()->text(), screen.text("manualCommand"));

        QTemporaryDir emptyPath;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", emptyPath.path().toUtf8());
        screen.click("bootstrapButton");
        qputenv("PATH", path);
        QVERIFY(screen.shows("terminalProblem"));
        QVERIFY(screen.text("terminalProblem").startsWith(u"Neither sudo, pkexec nor su"_s));
    }

    void aLaunchFailureShowsTheReasonAndInstallEnginesAgain() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        QFile::remove(screen.shell.shell());
        screen.click("installButton");
        QTRY_VERIFY(screen.logText().startsWith(u"Could not start installer: "_s));
        QVERIFY(screen.shows("logCard"));
        QCOMPARE(screen.text("installButton"), u"Install Engines"_s);
        QVERIFY(screen.item("installButton")->isEnabled());
        QVERIFY(!screen.shows("bootstrapCard"));
    }

    void anEngineInstalledElsewhereShowsByItself() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        screen.engines.installMuseScore(QString());
        QTRY_COMPARE(screen.rowState("museScoreRow"), u"Installed"_s);
        QTRY_VERIFY(screen.shows("startButton"));
    }

    void theLogKeepsItsNewestTextInViewAndCanBeCopied() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        screen.installBrew(u"for i in $(seq 1 300); do echo \"line $i of the installer\"; done"_s);
        screen.shell.linkRealProgram(u"seq"_s);
        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
        QQuickItem* scroller = screen.item("logScroller");
        QCOMPARE(scroller->height(), 150.0);
        QTRY_VERIFY(scroller->property("atYEnd").toBool());
        QCOMPARE(screen.logText(), screen.installer->output());

        QQuickItem* log = screen.logPageShowing(u"line 300 of the installer"_s);
        QVERIFY(log);
        QVERIFY(log->property("readOnly").toBool());
        QVERIFY(log->property("selectByMouse").toBool());
        QMetaObject::invokeMethod(log, "selectAll");
        QMetaObject::invokeMethod(log, "copy");
        QVERIFY(QGuiApplication::clipboard()->text().contains(u"line 300 of the installer"_s));
    }
};

QTEST_MAIN(TestSetupViewWindow)
#include "tst_setupviewwindow.moc"
