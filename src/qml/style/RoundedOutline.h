#pragma once

#include <QColor>
#include <QList>
#include <QQuickPaintedItem>

namespace velmarto {

// A rounded border stroked inside the item's edge, solid or dashed. Rectangle's border cannot
// dash.
class RoundedOutline : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)
    // Lengths in points, alternating on and off; empty draws a solid line.
    Q_PROPERTY(
        QList<qreal> dashPattern READ dashPattern WRITE setDashPattern NOTIFY dashPatternChanged)

public:
    explicit RoundedOutline(QQuickItem* parent = nullptr);

    QColor color() const { return m_color; }
    qreal radius() const { return m_radius; }
    qreal lineWidth() const { return m_lineWidth; }
    QList<qreal> dashPattern() const { return m_dashPattern; }
    void setColor(const QColor& color);
    void setRadius(qreal radius);
    void setLineWidth(qreal lineWidth);
    void setDashPattern(const QList<qreal>& dashPattern);

    void paint(QPainter* painter) override;

signals:
    void colorChanged();
    void radiusChanged();
    void lineWidthChanged();
    void dashPatternChanged();

private:
    QColor m_color = Qt::black;
    qreal m_radius = 0;
    qreal m_lineWidth = 1;
    QList<qreal> m_dashPattern;
};

} // namespace velmarto
