#include "accounts/AuthViewLoader.h"

#include "accounts/Session.h"

#include <QQmlEngine>

namespace velmarto {

using namespace Qt::StringLiterals;

bool AuthViewLoader::load(QQuickView& view, Session* session) {
    // Qt 6.4 does not look in the resource root that qt_add_qml_module uses.
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setInitialProperties({{u"session"_s, QVariant::fromValue(session)}});
    view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/accounts/AuthView.qml"_s));
    return view.status() == QQuickView::Ready;
}

} // namespace velmarto
