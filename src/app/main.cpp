#include "app/VelmartoApp.h"

#include <QGuiApplication>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

int main(int argc, char* argv[]) {
    velmarto::VelmartoApp::configureApplication();
    QGuiApplication application(argc, argv);
    velmarto::VelmartoApp app;
    if (!app.openWindow(velmarto::VelmartoApp::fileToOpen(QCoreApplication::arguments()))) {
        return 1;
    }
    return application.exec();
}
