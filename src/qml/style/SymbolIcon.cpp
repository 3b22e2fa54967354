#include "qml/style/SymbolIcon.h"

#include "qml/style/DiagonalGradient.h"

#include <QImage>
#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>

namespace velmarto {

using namespace Qt::StringLiterals;

SymbolIcon::SymbolIcon(QQuickItem* parent)
    : QQuickPaintedItem(parent) {}

QString SymbolIcon::resourcePath(const QString& symbol) {
    return u":/qt/qml/Velmarto/style/icons/%1.svg"_s.arg(symbol);
}

void SymbolIcon::setSymbol(const QString& symbol) {
    if (m_symbol != symbol) {
        m_symbol = symbol;
        emit symbolChanged();
        update();
    }
}

void SymbolIcon::setColor(const QColor& color) {
    if (m_color != color) {
        m_color = color;
        emit colorChanged();
        update();
    }
}

void SymbolIcon::setGradient(const QList<QColor>& gradient) {
    if (m_gradient != gradient) {
        m_gradient = gradient;
        emit gradientChanged();
        update();
    }
}

void SymbolIcon::paint(QPainter* painter) {
    if (m_symbol.isEmpty()) {
        return;
    }
    QSvgRenderer renderer(resourcePath(m_symbol));
    if (!renderer.isValid() || width() <= 0 || height() <= 0) {
        return;
    }
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage layer((QSizeF(width(), height()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);

    QPainter layerPainter(&layer);
    layerPainter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0, 0, width(), height());
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&layerPainter, bounds);
    // The SVG's own colours only shape the symbol; the tint replaces them where it is opaque.
    layerPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    if (m_gradient.isEmpty()) {
        layerPainter.fillRect(bounds, m_color);
    } else {
        layerPainter.fillRect(bounds, diagonalgradient::brush(m_gradient, bounds));
    }
    layerPainter.end();

    painter->drawImage(bounds, layer);
}

} // namespace velmarto
