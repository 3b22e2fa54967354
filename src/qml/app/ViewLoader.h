#pragma once

#include <QQuickView>
#include <QString>
#include <QVariantMap>

namespace velmarto {

// Puts one of the module's views (a path inside it, such as "convert/ContentView.qml") into a
// QQuickView, sized to follow the view, with its required properties set: the app, its tests and
// its benchmarks all load views this way. False when the view could not be loaded; Qt has then
// printed the errors.
bool loadView(QQuickView& view, const QString& file, const QVariantMap& requiredProperties);

} // namespace velmarto
