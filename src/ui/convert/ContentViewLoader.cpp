#include "ui/convert/ContentViewLoader.h"

#include "ui/convert/ContentViewModel.h"

#include <QQmlEngine>

namespace velmarto {

using namespace Qt::StringLiterals;

bool ContentViewLoader::load(QQuickView& view, ContentViewModel* model) {
    // Qt 6.4 does not look in the resource root that qt_add_qml_module uses.
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setInitialProperties({{u"model"_s, QVariant::fromValue(model)}});
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/convert/ContentView.qml"_s));
    return view.status() == QQuickView::Ready;
}

} // namespace velmarto
