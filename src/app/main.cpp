#include "app/VelmartoApp.h"
#include "core/platform/PortalFileChooser.h"
#include "core/platform/QuitSignals.h"

#include <QGuiApplication>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

int main(int argc, char* argv[]) {
    velmarto::VelmartoApp::configureApplication();
    // Outside a sandbox Qt draws its own file dialogs unless told to ask the desktop's portal.
    velmarto::portalfilechooser::chooseWhenOffered();
    QGuiApplication application(argc, argv);
    // Quitting closes the windows, and a closing window stops its conversion's engines.
    const velmarto::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &velmarto::QuitSignals::quitRequested, &application,
                     &QCoreApplication::quit);
    velmarto::VelmartoApp app;
    if (!app.openWindow(velmarto::VelmartoApp::fileToOpen(QCoreApplication::arguments()))) {
        return 1;
    }
    return application.exec();
}
