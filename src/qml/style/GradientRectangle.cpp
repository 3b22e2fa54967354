#include "qml/style/GradientRectangle.h"

#include "qml/style/DiagonalGradient.h"

#include <QPainter>

namespace velmarto {

GradientRectangle::GradientRectangle(QQuickItem* parent)
    : QQuickPaintedItem(parent) {}

void GradientRectangle::setGradient(const QList<QColor>& gradient) {
    if (m_gradient != gradient) {
        m_gradient = gradient;
        emit gradientChanged();
        update();
    }
}

void GradientRectangle::setRadius(qreal radius) {
    if (!qFuzzyCompare(m_radius, radius)) {
        m_radius = radius;
        emit radiusChanged();
        update();
    }
}

void GradientRectangle::paint(QPainter* painter) {
    const QRectF bounds(0, 0, width(), height());
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(diagonalgradient::brush(m_gradient, bounds));
    painter->drawRoundedRect(bounds, m_radius, m_radius);
}

} // namespace velmarto
