#include "qml/app/ViewLoader.h"

#include <QQmlEngine>

namespace velmarto {

using namespace Qt::StringLiterals;

bool loadView(QQuickView& view, const QString& file, const QVariantMap& requiredProperties) {
    // Qt 6.4 does not look in the resource root that qt_add_qml_module uses.
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setInitialProperties(requiredProperties);
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/"_s + file));
    return view.status() == QQuickView::Ready;
}

} // namespace velmarto
