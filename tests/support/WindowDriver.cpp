#include "WindowDriver.h"

#include <QSignalSpy>
#include <QTest>

namespace velmarto::test {

using namespace Qt::StringLiterals;

namespace {

QQuickItem* shownDescendant(QQuickItem* item, const QString& name) {
    if (!item->isVisible()) {
        return nullptr;
    }
    if (item->objectName() == name) {
        return item;
    }
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = shownDescendant(child, name)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

bool WindowDriver::activate() {
    m_window.requestActivate();
    return QTest::qWaitForWindowActive(&m_window);
}

bool WindowDriver::settle() {
    QSignalSpy frames(&m_window, &QQuickWindow::frameSwapped);
    m_window.update();
    return frames.wait(5000);
}

QQuickItem* WindowDriver::item(const QString& name) const {
    return shownDescendant(m_window.contentItem(), name);
}

QQuickItem* WindowDriver::input(const QString& fieldName) const {
    QQuickItem* field = item(fieldName);
    return field ? field->findChild<QQuickItem*>(u"input"_s) : nullptr;
}

bool WindowDriver::shows(const QString& name) const {
    return item(name) != nullptr;
}

QString WindowDriver::text(const QString& name) const {
    QQuickItem* entry = input(name);
    QQuickItem* found = entry ? entry : item(name);
    return found ? found->property("text").toString() : QString();
}

QString WindowDriver::focused() const {
    for (QQuickItem* current = m_window.activeFocusItem(); current;
         current = current->parentItem()) {
        if (!current->objectName().isEmpty() && current->objectName() != u"input"_s) {
            return current->objectName();
        }
    }
    return {};
}

void WindowDriver::type(const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, &m_window, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
    }
}

void WindowDriver::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(&m_window, key, modifiers);
}

void WindowDriver::click(const QString& name) {
    QVERIFY(settle());
    QQuickItem* target = item(name);
    QVERIFY2(target, qPrintable(name));
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(&m_window, Qt::LeftButton, {}, centre.toPoint());
}

} // namespace velmarto::test
