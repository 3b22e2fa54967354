#include "qml/style/DiagonalGradient.h"

#include <QLinearGradient>

namespace velmarto::diagonalgradient {

QBrush brush(const QList<QColor>& colors, const QRectF& bounds) {
    if (colors.size() < 2) {
        return colors.isEmpty() ? QBrush() : QBrush(colors.first());
    }
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    const qsizetype last = colors.size() - 1;
    for (qsizetype index = 0; index <= last; ++index) {
        gradient.setColorAt(qreal(index) / qreal(last), colors.at(index));
    }
    return gradient;
}

} // namespace velmarto::diagonalgradient
