#include "AuthWindow.h"

#include "ui/ViewLoader.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

namespace velmarto::test {

using namespace Qt::StringLiterals;

namespace {

// Hidden screens stay in the window (a form behind its code entry), so only what is shown counts.
QQuickItem* descendant(QQuickItem* item, const QString& name) {
    if (!item->isVisible()) {
        return nullptr;
    }
    if (item->objectName() == name) {
        return item;
    }
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = descendant(child, name)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

AuthWindow::AuthWindow(std::unique_ptr<Session> session)
    : m_session(std::move(session)) {
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
    if (m_view.status() != QQuickView::Ready || !m_view.rootObject()) {
        return false;
    }
    m_view.requestActivate();
    return QTest::qWaitForWindowActive(&m_view);
}

bool AuthWindow::settle() {
    QSignalSpy frames(&m_view, &QQuickWindow::frameSwapped);
    m_view.update();
    return frames.wait(5000);
}

QQuickItem* AuthWindow::item(const QString& name) const {
    return descendant(m_view.contentItem(), name);
}

QQuickItem* AuthWindow::input(const QString& fieldName) const {
    QQuickItem* field = item(fieldName);
    return field ? field->findChild<QQuickItem*>(u"input"_s) : nullptr;
}

bool AuthWindow::shows(const QString& name) const {
    return item(name) != nullptr;
}

QString AuthWindow::text(const QString& name) const {
    QQuickItem* entry = input(name);
    QQuickItem* found = entry ? entry : item(name);
    return found ? found->property("text").toString() : QString();
}

QString AuthWindow::focused() const {
    for (QQuickItem* current = m_view.activeFocusItem(); current; current = current->parentItem()) {
        if (!current->objectName().isEmpty() && current->objectName() != u"input"_s) {
            return current->objectName();
        }
    }
    return {};
}

void AuthWindow::type(const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, &m_view, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

void AuthWindow::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&m_view, key, modifiers);
}

void AuthWindow::click(const QString& name) {
    QVERIFY(settle());
    QQuickItem* target = item(name);
    QVERIFY2(target, qPrintable(name));
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(&m_view, Qt::LeftButton, {}, centre.toPoint());
}

} // namespace velmarto::test
