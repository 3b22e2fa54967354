#pragma once

#include <QBrush>
#include <QColor>
#include <QList>
#include <QRectF>

namespace velmarto {

// The accent gradients run corner to corner with evenly spaced stops, whatever they fill.
namespace diagonalgradient {

QBrush brush(const QList<QColor>& colors, const QRectF& bounds);

} // namespace diagonalgradient

} // namespace velmarto
