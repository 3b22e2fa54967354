#pragma once

#include <QQuickItem>
#include <QQuickWindow>
#include <QString>

namespace velmarto::test {

// Drives a real window with keys and clicks, the way a user drives it. Items are found by object
// name among everything the window shows, sheets and dialogs included; hidden items (a form
// behind its code entry, a tab not showing) do not count.
class WindowDriver {
public:
    explicit WindowDriver(QQuickWindow& window)
        : m_window(window) {}

    // Shown and taking the keys.
    bool activate();
    // Waits for the next frame, by which the layouts have placed what the last change moved.
    bool settle();

    // Null unless the item and all its ancestors are visible.
    QQuickItem* item(const QString& name) const;
    // The entry inside a field.
    QQuickItem* input(const QString& fieldName) const;
    bool shows(const QString& name) const;
    QString text(const QString& name) const;
    // The object name of the control that has the keys (a field's name for its entry).
    QString focused() const;

    void type(const QString& text);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(const QString& name);

private:
    QQuickWindow& m_window;
};

} // namespace velmarto::test
