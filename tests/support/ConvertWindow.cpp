#include "ConvertWindow.h"

#include "qml/app/ViewLoader.h"

#include <QTest>

namespace velmarto::test {

using namespace Qt::StringLiterals;

ConvertWindow::ConvertWindow(QSize size, Engines which, FileRequests requests)
    : ConvertScreen(which, requests) {
    loadView(view, u"convert/ContentView.qml"_s, {{u"model"_s, QVariant::fromValue(model.get())}});
    view.resize(size);
    view.show();
}

bool ConvertWindow::ready() {
    return view.status() == QQuickView::Ready && QTest::qWaitForWindowExposed(&view);
}

void ConvertWindow::click(QQuickItem* target) {
    QVERIFY(target);
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(&view, Qt::LeftButton, {}, centre.toPoint());
}

} // namespace velmarto::test
