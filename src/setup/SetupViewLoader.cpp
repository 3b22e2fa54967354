#include "setup/SetupViewLoader.h"

#include "setup/EngineInstaller.h"

#include <QQmlEngine>

namespace velmarto::setupview {

using namespace Qt::StringLiterals;

bool load(QQuickView& view, EngineInstaller* installer) {
    // Qt 6.4 does not look in the resource root that qt_add_qml_module uses.
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setInitialProperties({{u"installer"_s, QVariant::fromValue(installer)}});
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/setup/SetupView.qml"_s));
    return view.status() == QQuickView::Ready;
}

} // namespace velmarto::setupview
