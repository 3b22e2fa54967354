#include "qml/style/RoundedOutline.h"

#include <QPainter>
#include <QPen>

namespace velmarto {

RoundedOutline::RoundedOutline(QQuickItem* parent)
    : QQuickPaintedItem(parent) {}

void RoundedOutline::setColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        emit colorChanged();
        update();
    }
}

void RoundedOutline::setRadius(qreal radius) {
    if (!qFuzzyCompare(m_radius, radius)) {
        m_radius = radius;
        emit radiusChanged();
        update();
    }
}

void RoundedOutline::setLineWidth(qreal lineWidth) {
    if (!qFuzzyCompare(m_lineWidth, lineWidth)) {
        m_lineWidth = lineWidth;
        emit lineWidthChanged();
        update();
    }
}

void RoundedOutline::setDashPattern(const QList<qreal>& dashPattern) {
    if (m_dashPattern != dashPattern) {
        m_dashPattern = dashPattern;
        emit dashPatternChanged();
        update();
    }
}

void RoundedOutline::paint(QPainter* painter) {
    QPen pen(m_color, m_lineWidth);
    if (!m_dashPattern.isEmpty()) {
        // QPen measures dashes in line widths, the layout in points.
        QList<qreal> inLineWidths;
        for (const qreal length : m_dashPattern) {
            inLineWidths.append(length / m_lineWidth);
        }
        pen.setDashPattern(inLineWidths);
    }
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const qreal inset = m_lineWidth / 2;
    const qreal radius = std::max<qreal>(m_radius - inset, 0);
    painter->drawRoundedRect(QRectF(0, 0, width(), height()).adjusted(inset, inset, -inset, -inset),
                             radius, radius);
}

} // namespace velmarto
