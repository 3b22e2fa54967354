#include "core/platform/PortalFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

void write(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class TestPortalFileChooser : public QObject {
    Q_OBJECT

private slots:
    // Qt's portal theme has nothing to fall back on, so every piece the chooser needs must be
    // there, for this desktop.
    void isOfferedOnlyWhereTheChooserAnswers_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QByteArray>("backEnd");
        QTest::addColumn<QByteArray>("portalsConf");
        QTest::addColumn<bool>("portalInstalled");
        QTest::addColumn<bool>("pluginInstalled");
        QTest::addColumn<bool>("offered");

        const QByteArray gtk = "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.gtk\n"
                               "Interfaces=org.freedesktop.impl.portal.Settings;"
                               "org.freedesktop.impl.portal.FileChooser;\nUseIn=gnome\n";
        const QByteArray gtkWithoutUseIn = QByteArray(gtk).replace("UseIn=gnome\n", "");
        const QByteArray noChooser =
            QByteArray(gtk).replace("org.freedesktop.impl.portal.FileChooser;", "");
        QTest::newRow("GNOME") << u"ubuntu:GNOME"_s << gtk << QByteArray() << true << true << true;
        QTest::newRow("named in portals.conf")
            << u"GNOME"_s << gtkWithoutUseIn << QByteArray("[preferred]\ndefault=gnome;gtk;\n")
            << true << true << true;
        QTest::newRow("another desktop's")
            << u"KDE"_s << gtk << QByteArray() << true << true << false;
        QTest::newRow("no chooser")
            << u"GNOME"_s << noChooser << QByteArray() << true << true << false;
        QTest::newRow("no portal") << u"GNOME"_s << gtk << QByteArray() << false << true << false;
        QTest::newRow("no Qt plugin")
            << u"GNOME"_s << gtk << QByteArray() << true << false << false;
        QTest::newRow("no desktop") << QString() << gtk << QByteArray() << true << true << false;
    }
    void isOfferedOnlyWhereTheChooserAnswers() {
        QFETCH(QString, desktop);
        QFETCH(QByteArray, backEnd);
        QFETCH(QByteArray, portalsConf);
        QFETCH(bool, portalInstalled);
        QFETCH(bool, pluginInstalled);
        QFETCH(bool, offered);

        QTemporaryDir root;
        const QString share = root.filePath(u"share"_s);
        write(share + u"/xdg-desktop-portal/portals/gtk.portal"_s, backEnd);
        if (!portalsConf.isEmpty()) {
            write(share + u"/xdg-desktop-portal/gnome-portals.conf"_s, portalsConf);
        }
        if (portalInstalled) {
            write(share + u"/dbus-1/services/org.freedesktop.portal.Desktop.service"_s, "");
        }
        if (pluginInstalled) {
            write(root.filePath(u"plugins/platformthemes/libqxdgdesktopportal.so"_s), "");
        }
        QProcessEnvironment environment;
        environment.insert(u"HOME"_s, root.filePath(u"home"_s));
        environment.insert(u"XDG_DATA_DIRS"_s, share);
        environment.insert(u"XDG_CONFIG_DIRS"_s, root.filePath(u"etc"_s));
        if (!desktop.isEmpty()) {
            environment.insert(u"XDG_CURRENT_DESKTOP"_s, desktop);
        }

        QCOMPARE(portalfilechooser::isOffered(environment, root.filePath(u"plugins"_s)), offered);
    }
};

QTEST_GUILESS_MAIN(TestPortalFileChooser)
#include "tst_portalfilechooser.moc"
