#include "AuthWindow.h"

#include "qml/app/ViewLoader.h"

#include <QQmlComponent>
#include <QQmlEngine>

namespace velmarto::test {

using namespace Qt::StringLiterals;

// The driver keeps a reference to the window, which it uses only once the window exists.
AuthWindow::AuthWindow()
    : WindowDriver(m_view) {}

AuthWindow::AuthWindow(std::unique_ptr<Session> session)
    : AuthWindow() {
    m_session = std::move(session);
    loadView(m_view, u"accounts/AuthView.qml"_s,
             {{u"session"_s, QVariant::fromValue(m_session.get())}});
    m_view.resize(700, 720);
    m_view.show();
}

std::unique_ptr<AuthWindow> AuthWindow::withSheet(std::unique_ptr<Session> session) {
    std::unique_ptr<AuthWindow> window(new AuthWindow);
    window->m_session = std::move(session);
    QQuickView& view = window->m_view;
    view.engine()->addImportPath(u"qrc:/qt/qml"_s);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    auto* component = new QQmlComponent(view.engine(), &view);
    component->setData(R"(
        import QtQuick
        import Velmarto

        Rectangle {
            id: host
            required property Session session
            color: "white"
            VerificationSheet {
                session: host.session
            }
        }
    )",
                       QUrl(u"qrc:/SheetHost.qml"_s));
    if (!component->isReady()) {
        qWarning("%s", qPrintable(component->errorString()));
        return window;
    }
    QObject* root = component->createWithInitialProperties(
        {{u"session"_s, QVariant::fromValue(window->m_session.get())}});
    if (!root) {
        qWarning("%s", qPrintable(component->errorString()));
        return window;
    }
    view.setContent(component->url(), component, root);
    view.resize(700, 720);
    view.show();
    return window;
}

bool AuthWindow::ready() {
    return m_view.status() == QQuickView::Ready && m_view.rootObject() && activate();
}

} // namespace velmarto::test
