#include "FakeLoginShell.h"
#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"
#include "qml/app/ViewLoader.h"
#include "support/FakeEngines.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <memory>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::EngineSetupProfile;
using velmarto::test::FakeEngines;
using velmarto::test::FakeLoginShell;

namespace {

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x20));
    palette.setColor(QPalette::WindowText, QColor(0xf2, 0xf2, 0xf5));
    palette.setColor(QPalette::Base, QColor(0x28, 0x28, 0x2b));
    palette.setColor(QPalette::Text, QColor(0xf2, 0xf2, 0xf5));
    palette.setColor(QPalette::Button, QColor(0x32, 0x32, 0x36));
    palette.setColor(QPalette::ButtonText, QColor(0xf2, 0xf2, 0xf5));
    return palette;
}

} // namespace

// Takes the setup screen through its states with fake installers and keeps a picture of each,
// light and dark, in the build tree, for people to compare with the intended layout.
class TestSetupScreenshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(VELMARTO_SCREENSHOT_DIR))); }

    void theSetupScreenInEachState_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    void theSetupScreenInEachState() {
        QFETCH(bool, dark);
        const QPalette original = QGuiApplication::palette();
        if (dark) {
            QGuiApplication::setPalette(darkPalette());
        }
        const QString suffix = dark ? u"-dark"_s : QString();

        {
            Screen screen(EngineSetupProfile::macOS());
            screen.shell.writeProgram(
                u"brew"_s,
                u"echo '==> Downloading https://ghcr.io/v2/homebrew/core/lilypond'; "
                u"sleep 2; echo '==> Pouring lilypond--2.24.3.arm64_sonoma.bottle.tar.gz'"_s +
                    screen.installCommand());
            QVERIFY(screen.show());
            save(screen.view, u"setup-1-needed"_s + suffix);
            screen.installer->installMissing();
            QTRY_VERIFY(screen.installer->output().contains(u"Downloading"_s));
            QTest::qWait(300);
            save(screen.view, u"setup-2-installing"_s + suffix);
            QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
            QTest::qWait(300);
            save(screen.view, u"setup-3-ready"_s + suffix);
        }
        {
            Screen screen(EngineSetupProfile::macOS());
            QVERIFY(screen.show());
            screen.installer->installMissing();
            QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
            QTest::qWait(300);
            save(screen.view, u"setup-4-no-homebrew"_s + suffix);
        }
        {
            Screen screen(EngineSetupProfile::freedesktop({}));
            screen.shell.pretendUserId(1000);
            screen.shell.writeProgram(u"apt-get"_s, QString());
            screen.shell.writeProgram(u"pkexec"_s, u"exit 126"_s);
            QVERIFY(screen.show());
            screen.installer->installMissing();
            QTRY_VERIFY_WITH_TIMEOUT(screen.installer->finished(), 20000);
            QTest::qWait(300);
            save(screen.view, u"setup-5-linux-terminal"_s + suffix);
        }
        {
            Screen screen(EngineSetupProfile::freedesktop({}));
            screen.engines.installMuseScore(QString());
            screen.engines.installLilypond(QString());
            screen.status->refresh();
            QVERIFY(screen.show());
            QTest::qWait(300);
            save(screen.view, u"setup-6-all-installed"_s + suffix);
        }
        QGuiApplication::setPalette(original);
    }

private:
    // MuseScore and LilyPond missing; the fake package manager can put them in place.
    struct Screen {
        FakeEngines engines;
        FakeLoginShell shell;
        std::unique_ptr<velmarto::EngineStatus> status;
        std::unique_ptr<velmarto::EngineInstaller> installer;
        QQuickView view;

        explicit Screen(EngineSetupProfile setup) {
            engines.installMusicxml2ly(QString());
            shell.linkRealProgram(u"sleep"_s);
            setup.shell = shell.shell();
            status = std::make_unique<velmarto::EngineStatus>(
                velmarto::EngineLocator(engines.profile()));
            installer = std::make_unique<velmarto::EngineInstaller>(setup, status.get());
        }

        QString installCommand() const {
            return u"\nfor name in mscore musicxml2ly lilypond; do printf '#!/bin/sh\\n' > "
                   u"'%1/'$name; "
                   u"/bin/chmod +x '%1/'$name; done"_s.arg(engines.binDirectory());
        }

        bool show() {
            velmarto::loadView(view, u"setup/SetupView.qml"_s,
                               {{u"installer"_s, QVariant::fromValue(installer.get())},
                                {u"engines"_s, QVariant::fromValue(status.get())}});
            // The sheet's size in a window of the default size.
            view.resize(720, 620);
            view.show();
            return view.status() == QQuickView::Ready && QTest::qWaitForWindowExposed(&view);
        }
    };

    static void save(QQuickView& view, const QString& name) {
        const QString path = QStringLiteral(VELMARTO_SCREENSHOT_DIR) + u'/' + name + u".png"_s;
        QVERIFY2(view.grabWindow().save(path), qPrintable(path));
    }
};

QTEST_MAIN(TestSetupScreenshots)
#include "setup_screen.moc"
