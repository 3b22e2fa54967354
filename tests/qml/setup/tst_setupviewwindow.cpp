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
    void idleWithEverythingInstalledOffersTheSkipLink() {
        Screen screen(true, true);
        QVERIFY(screen.ready());
        for (const char* row : {"lilypondRow", "musicxml2lyRow", "museScoreRow"}) {
            QCOMPARE(screen.rowState(row), u"Installed"_s);
            QCOMPARE(screen.rowSymbol(row), u"checkmark.circle.fill"_s);
        }
        QCOMPARE(screen.text("heroTitle"), u"Welcome to Velmarto"_s);
        QVERIFY(!screen.shows("bootstrapCard"));
        QVERIFY(!screen.shows("logCard"));
        QVERIFY(!screen.shows("startButton"));
        QCOMPARE(screen.text("installButton"), u"Install Engines"_s);
        QVERIFY(screen.item("installButton")->isEnabled());
        QVERIFY(screen.shows("skipLink"));
        QCOMPARE(screen.text("skipLink"), u"Skip — engines already installed"_s);

        QSignalSpy ready(screen.view.rootObject(), SIGNAL(ready()));
        screen.click("skipLink");
        QCOMPARE(ready.count(), 1);
    }

    void onlyMuseScoreMissingHasNoSkipLink() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        QCOMPARE(screen.rowState("museScoreRow"), u"Needed"_s);
        QCOMPARE(screen.rowSymbol("museScoreRow"), u"arrow.down.circle"_s);
        QCOMPARE(screen.rowState("lilypondRow"), u"Installed"_s);
        QVERIFY(!screen.shows("skipLink"));
    }

    void aRunningInstallShowsItsLogAndDisablesTheButton() {
        Screen screen(true, true);
        QVERIFY(screen.ready());
        screen.installBrew(QString());
        // A slow login profile keeps the log empty for a while.
        QFile profile(screen.shell.path(u"home/.bash_profile"_s));
        QVERIFY(profile.open(QIODevice::Append));
        profile.write("sleep 1\necho 'login profile read'\nsleep 2\n");
        profile.close();

        QSignalSpy ready(screen.view.rootObject(), SIGNAL(ready()));
        screen.click("installButton");

        QVERIFY(screen.shows("logCard"));
        QVERIFY(screen.shows("logPlaceholder"));
        QCOMPARE(screen.text("logPlaceholder"), u"Preparing…"_s);
        QVERIFY(!screen.item("installButton")->isEnabled());
        QCOMPARE(screen.text("installButton"), u"Setting up engines…"_s);
        QVERIFY(Screen::showsItem(
            screen.item("installButton")->findChild<QQuickItem*>(u"primaryButtonSpinner"_s)));
        QVERIFY(!screen.shows("bootstrapCard"));
        QVERIFY(screen.shows("skipLink"));

        QTRY_COMPARE(screen.logText(), u"login profile read\n"_s);
        QVERIFY(!screen.shows("logPlaceholder"));
        QVERIFY(screen.installer->isRunning());

        // The skip link stays usable while the installer runs.
        screen.click("skipLink");
        QCOMPARE(ready.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
    }

    void aSuccessfulRunTurnsTheRowsGreenAndOffersTheWayOn() {
        Screen screen(false, false);
        QVERIFY(screen.ready());
        screen.installBrew(u"echo \"brew $*\""_s);
        QVERIFY(!screen.shows("skipLink"));

        bool rowsGreenWhenStartShown = false;
        QObject::connect(
            screen.item("startButton"), &QQuickItem::visibleChanged, &screen.view, [&] {
                rowsGreenWhenStartShown = screen.rowState("museScoreRow") == u"Installed"_s &&
                                          screen.rowState("lilypondRow") == u"Installed"_s;
            });
        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.shows("startButton"), 20000);
        QVERIFY(rowsGreenWhenStartShown);
        QCOMPARE(screen.text("startButton"), u"Start Using Velmarto"_s);
        QVERIFY(!screen.shows("installButton"));
        QVERIFY(!screen.shows("skipLink"));
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
                 u"ask for your password), then return here and press “Install Engines”."_s);
        QCOMPARE(screen.text("bootstrapButton"), u"Install Homebrew…"_s);
        QCOMPARE(screen.text("installButton"), u"Retry Install"_s);
        QVERIFY(screen.item("installButton")->isEnabled());
        QVERIFY(!screen.shows("skipLink"));
        QCOMPARE(screen.rowState("museScoreRow"), u"Needed"_s);
        // The card sits between the checklist and the log.
        QVERIFY(screen.item("bootstrapCard")->y() < screen.item("logCard")->y());

        screen.click("bootstrapButton");
        QTRY_COMPARE(screen.osascript->runCount(), 1);
        QVERIFY(screen.shows("bootstrapCard"));
    }

    void theLinuxCardNamesTheLinuxPieces() {
        Screen screen(false, true, EngineSetupProfile::freedesktop({}));
        QVERIFY(screen.ready());
        screen.shell.pretendUserId(1000);
        screen.shell.writeProgram(u"apt-get"_s, QString());
        screen.click("installButton");
        QTRY_VERIFY_WITH_TIMEOUT(screen.shows("bootstrapCard"), 20000);
        QCOMPARE(screen.text("bootstrapTitle"),
                 u"Your distribution’s package manager is required"_s);
        QCOMPARE(screen.text("bootstrapButton"), u"Install in a Terminal…"_s);
        QVERIFY(screen.logText().contains(u"pkexec is not available"_s));
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

    void anEngineInstalledElsewhereShowsOnceTheStatusLooksAgain() {
        Screen screen(false, true);
        QVERIFY(screen.ready());
        QVERIFY(!screen.shows("skipLink"));
        screen.engines.installMuseScore(QString());
        screen.status->refresh();
        QVERIFY(screen.shows("skipLink"));
        QCOMPARE(screen.rowState("museScoreRow"), u"Installed"_s);
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
