#pragma once

#include "accounts/Session.h"

#include <QQuickItem>
#include <QQuickView>
#include <QString>

#include <memory>

namespace velmarto::test {

// A window showing an account screen of one session, driven by keys and clicks the way a user
// drives it. Items are found by object name among everything the window shows, sheets included.
class AuthWindow {
public:
    // The sign-in screen.
    explicit AuthWindow(std::unique_ptr<Session> session);
    // An empty window that shows the change-password sheet while the session presents it.
    static std::unique_ptr<AuthWindow> withSheet(std::unique_ptr<Session> session);

    // Loaded, shown and taking the keys.
    bool ready();

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

    Session& session() const { return *m_session; }
    QQuickView& view() { return m_view; }

private:
    AuthWindow() = default;

    std::unique_ptr<Session> m_session;
    // After the session, so that the window and its screens go first.
    QQuickView m_view;
};

} // namespace velmarto::test
