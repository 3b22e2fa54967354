#pragma once

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>

namespace velmarto {

// The blurred shadow of a rounded rectangle. The item spans the shape plus blurRadius on every
// side; the blur is computed once per size so it costs nothing while the scene animates, and it
// draws on the software scene graph where shader effects do not.
class SoftShadow : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    Q_PROPERTY(qreal blurRadius READ blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)

public:
    explicit SoftShadow(QQuickItem* parent = nullptr);

    QColor color() const { return m_color; }
    qreal radius() const { return m_radius; }
    qreal blurRadius() const { return m_blurRadius; }
    void setColor(const QColor& color);
    void setRadius(qreal radius);
    void setBlurRadius(qreal blurRadius);

    void paint(QPainter* painter) override;

signals:
    void colorChanged();
    void radiusChanged();
    void blurRadiusChanged();

private:
    QImage shadowImage(qreal ratio) const;

    QColor m_color = Qt::black;
    qreal m_radius = 0;
    qreal m_blurRadius = 8;
    QImage m_cache;
};

} // namespace velmarto
