#pragma once

#include <QQuickView>

namespace velmarto {

class ContentViewModel;

// Puts the Convert tab into a view, sized to follow the view, for the app, its tests and its
// benchmarks alike.
class ContentViewLoader {
public:
    // False when the view could not be loaded; Qt has then printed the errors.
    static bool load(QQuickView& view, ContentViewModel* model);
};

} // namespace velmarto
