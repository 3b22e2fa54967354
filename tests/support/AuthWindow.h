#pragma once

#include "core/accounts/Session.h"
#include "support/WindowDriver.h"

#include <QQuickItem>
#include <QQuickView>
#include <QString>

#include <memory>

namespace velmarto::test {

// A window showing an account screen of one session, driven by keys and clicks.
class AuthWindow : public WindowDriver {
public:
    // The sign-in screen.
    explicit AuthWindow(std::unique_ptr<Session> session);
    // An empty window that shows the change-password sheet while the session presents it.
    static std::unique_ptr<AuthWindow> withSheet(std::unique_ptr<Session> session);

    // Loaded, shown and taking the keys.
    bool ready();

    Session& session() const { return *m_session; }
    QQuickView& view() { return m_view; }

private:
    AuthWindow();

    std::unique_ptr<Session> m_session;
    // After the session, so that the window and its screens go first.
    QQuickView m_view;
};

} // namespace velmarto::test
