#pragma once

#include <QQuickView>

namespace velmarto {

class EngineInstaller;

// Puts the setup screen into a view, sized to follow the view, for the app, its tests and its
// benchmarks alike. The screen's ready() signal is the root object's.
namespace setupview {

// False when the view could not be loaded; Qt has then printed the errors.
bool load(QQuickView& view, EngineInstaller* installer);

} // namespace setupview

} // namespace velmarto
