#pragma once

#include <QColor>
#include <QList>
#include <QQuickPaintedItem>

namespace velmarto {

// A rounded rectangle filled with a diagonal gradient. A plain Rectangle only runs gradients
// along one axis, and shader effects do not draw on the software scene graph.
class GradientRectangle : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QList<QColor> gradient READ gradient WRITE setGradient NOTIFY gradientChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit GradientRectangle(QQuickItem* parent = nullptr);

    QList<QColor> gradient() const { return m_gradient; }
    qreal radius() const { return m_radius; }
    void setGradient(const QList<QColor>& gradient);
    void setRadius(qreal radius);

    void paint(QPainter* painter) override;

signals:
    void gradientChanged();
    void radiusChanged();

private:
    QList<QColor> m_gradient;
    qreal m_radius = 0;
};

} // namespace velmarto
