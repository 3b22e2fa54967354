#pragma once

#include <QQuickView>

namespace velmarto {

class Session;

// Puts the sign-in screen of a window's session into a view, sized to follow the view, for the
// app and its tests alike.
class AuthViewLoader {
public:
    // False when the view could not be loaded; Qt has then printed the errors.
    static bool load(QQuickView& view, Session* session);
};

} // namespace velmarto
