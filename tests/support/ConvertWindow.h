#pragma once

#include "ConvertScreen.h"

#include <QQuickItem>
#include <QQuickView>
#include <QSize>

namespace velmarto::test {

// The Convert tab in a real (offscreen) window, loaded and shown as the application shows it.
class ConvertWindow : public ConvertScreen {
public:
    explicit ConvertWindow(QSize size = {1000, 700}, Engines which = Engines::Fake,
                           FileRequests requests = FileRequests::Scripted);

    // Loaded without errors and on screen.
    bool ready();
    // A click at the item's centre.
    void click(QQuickItem* target);

    // Last, so that the window goes before the model it shows.
    QQuickView view;
};

} // namespace velmarto::test
