#include "qml/style/SoftShadow.h"

#include <QPainter>
#include <QQuickWindow>

#include <algorithm>
#include <vector>

namespace velmarto {

namespace {

// One pass of a running-sum box blur along the rows of an 8-bit alpha image; three passes in
// each direction come close to a Gaussian.
void boxBlurRows(QImage& image, int radius) {
    const int width = image.width();
    std::vector<uchar> row(width);
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        std::copy(line, line + width, row.begin());
        int sum = 0;
        const int span = 2 * radius + 1;
        for (int x = -radius; x <= radius; ++x) {
            sum += row[std::clamp(x, 0, width - 1)];
        }
        for (int x = 0; x < width; ++x) {
            line[x] = uchar(sum / span);
            sum += row[std::min(x + radius + 1, width - 1)];
            sum -= row[std::max(x - radius, 0)];
        }
    }
}

void gaussianBlur(QImage& alpha, int radius) {
    if (radius < 1) {
        return;
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurRows(alpha, radius);
    }
    QImage columns = alpha.transformed(QTransform().rotate(90));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurRows(columns, radius);
    }
    alpha = columns.transformed(QTransform().rotate(-90));
}

} // namespace

SoftShadow::SoftShadow(QQuickItem* parent)
    : QQuickPaintedItem(parent) {}

void SoftShadow::setColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        m_cache = {};
        emit colorChanged();
        update();
    }
}

void SoftShadow::setRadius(qreal radius) {
    if (!qFuzzyCompare(m_radius, radius)) {
        m_radius = radius;
        m_cache = {};
        emit radiusChanged();
        update();
    }
}

void SoftShadow::setBlurRadius(qreal blurRadius) {
    if (!qFuzzyCompare(m_blurRadius, blurRadius)) {
        m_blurRadius = blurRadius;
        m_cache = {};
        emit blurRadiusChanged();
        update();
    }
}

void SoftShadow::paint(QPainter* painter) {
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const QSize pixels = (QSizeF(width(), height()) * ratio).toSize();
    if (pixels.isEmpty()) {
        return;
    }
    if (m_cache.size() != pixels) {
        m_cache = shadowImage(ratio);
    }
    painter->drawImage(QRectF(0, 0, width(), height()), m_cache);
}

QImage SoftShadow::shadowImage(qreal ratio) const {
    const QSize pixels = (QSizeF(width(), height()) * ratio).toSize();
    QImage alpha(pixels, QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter shape(&alpha);
        shape.setRenderHint(QPainter::Antialiasing);
        shape.setPen(Qt::NoPen);
        shape.setBrush(Qt::black);
        const qreal inset = m_blurRadius * ratio;
        shape.drawRoundedRect(
            QRectF(QPointF(0, 0), QSizeF(pixels)).adjusted(inset, inset, -inset, -inset),
            m_radius * ratio, m_radius * ratio);
    }
    // A blur radius counts roughly two standard deviations; each box pass spreads about one.
    gaussianBlur(alpha, qRound(m_blurRadius * ratio / 2));

    QImage shadow(pixels, QImage::Format_ARGB32_Premultiplied);
    shadow.fill(m_color);
    QPainter mask(&shadow);
    mask.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    mask.drawImage(0, 0, alpha);
    return shadow;
}

} // namespace velmarto
