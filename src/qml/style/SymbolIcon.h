#pragma once

#include <QColor>
#include <QList>
#include <QQuickPaintedItem>
#include <QString>

namespace velmarto {

// One of the application's symbols, drawn from its SVG in a single colour or in a diagonal
// gradient. Painting through QPainter keeps the tint working on every scene-graph backend,
// the software one included.
class SymbolIcon : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString symbol READ symbol WRITE setSymbol NOTIFY symbolChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    // When set, wins over color: the stops run from the top-leading to the bottom-trailing corner.
    Q_PROPERTY(QList<QColor> gradient READ gradient WRITE setGradient NOTIFY gradientChanged)

public:
    explicit SymbolIcon(QQuickItem* parent = nullptr);

    static QString resourcePath(const QString& symbol);

    QString symbol() const { return m_symbol; }
    QColor color() const { return m_color; }
    QList<QColor> gradient() const { return m_gradient; }
    void setSymbol(const QString& symbol);
    void setColor(const QColor& color);
    void setGradient(const QList<QColor>& gradient);

    void paint(QPainter* painter) override;

signals:
    void symbolChanged();
    void colorChanged();
    void gradientChanged();

private:
    QString m_symbol;
    QColor m_color = Qt::black;
    QList<QColor> m_gradient;
};

} // namespace velmarto
