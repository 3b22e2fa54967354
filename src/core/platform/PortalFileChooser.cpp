#include "core/platform/PortalFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include <algorithm>

namespace velmarto::portalfilechooser {

using namespace Qt::StringLiterals;

namespace {

const QString fileChooserInterface = u"org.freedesktop.impl.portal.FileChooser"_s;

QStringList dataFolders(const QProcessEnvironment& environment) {
    const QString home =
        environment.value(u"XDG_DATA_HOME"_s, environment.value(u"HOME"_s) + u"/.local/share"_s);
    const QString system = environment.value(u"XDG_DATA_DIRS"_s);
    return QStringList{home} + (system.isEmpty() ? u"/usr/local/share:/usr/share"_s : system)
                                   .split(u':', Qt::SkipEmptyParts);
}

QStringList configFolders(const QProcessEnvironment& environment) {
    const QString home =
        environment.value(u"XDG_CONFIG_HOME"_s, environment.value(u"HOME"_s) + u"/.config"_s);
    const QString system = environment.value(u"XDG_CONFIG_DIRS"_s);
    return QStringList{home} +
           (system.isEmpty() ? u"/etc/xdg"_s : system).split(u':', Qt::SkipEmptyParts);
}

// The values of KEY in a desktop-entry style file, split on semicolons, lower case.
QStringList listValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(key + u'=')) {
            return line.mid(key.size() + 1).toLower().split(u';', Qt::SkipEmptyParts);
        }
    }
    return {};
}

bool intersects(const QStringList& first, const QStringList& second) {
    return std::ranges::any_of(first, [&](const QString& name) { return second.contains(name); });
}

// The back ends a desktop's portals.conf names for the chooser (newer portals read it in place
// of each back end's UseIn).
QStringList configuredBackEnds(const QProcessEnvironment& environment,
                               const QStringList& desktops) {
    QStringList folders;
    for (const QString& folder : configFolders(environment)) {
        folders << folder + u"/xdg-desktop-portal"_s;
    }
    for (const QString& folder : dataFolders(environment)) {
        folders << folder + u"/xdg-desktop-portal"_s;
    }
    QStringList named;
    for (const QString& folder : folders) {
        for (const QString& desktop : desktops) {
            const QString conf = folder + u'/' + desktop + u"-portals.conf"_s;
            named << listValue(conf, u"default"_s) << listValue(conf, fileChooserInterface);
        }
    }
    return named;
}

} // namespace

bool isOffered(const QProcessEnvironment& environment, const QString& qtPluginsFolder) {
    const QStringList desktops =
        environment.value(u"XDG_CURRENT_DESKTOP"_s).toLower().split(u':', Qt::SkipEmptyParts);
    if (desktops.isEmpty() ||
        !QFile::exists(qtPluginsFolder + u"/platformthemes/libqxdgdesktopportal.so"_s)) {
        return false;
    }
    const QStringList folders = dataFolders(environment);
    const bool portalInstalled = std::ranges::any_of(folders, [](const QString& folder) {
        return QFile::exists(folder + u"/dbus-1/services/org.freedesktop.portal.Desktop.service"_s);
    });
    if (!portalInstalled) {
        return false;
    }
    const QStringList configured = configuredBackEnds(environment, desktops);
    for (const QString& folder : folders) {
        const QDir backEnds(folder + u"/xdg-desktop-portal/portals"_s, u"*.portal"_s);
        for (const QFileInfo& backEnd : backEnds.entryInfoList(QDir::Files)) {
            const QString path = backEnd.filePath();
            if (listValue(path, u"Interfaces"_s).contains(fileChooserInterface.toLower()) &&
                (intersects(listValue(path, u"UseIn"_s), desktops) ||
                 configured.contains(backEnd.completeBaseName().toLower()))) {
                return true;
            }
        }
    }
    return false;
}

void chooseWhenOffered() {
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME") &&
        isOffered(QProcessEnvironment::systemEnvironment(),
                  QLibraryInfo::path(QLibraryInfo::PluginsPath))) {
        qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
    }
#endif
}

} // namespace velmarto::portalfilechooser
