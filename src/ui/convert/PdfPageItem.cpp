#include "ui/convert/PdfPageItem.h"

#include "ui/convert/PdfPreviewDocument.h"

#include <QPainter>
#include <QQuickWindow>

namespace velmarto {

PdfPageItem::PdfPageItem(QQuickItem* parent)
    : QQuickPaintedItem(parent) {
    connect(this, &QQuickItem::widthChanged, this, &PdfPageItem::discardRendering);
    connect(this, &QQuickItem::heightChanged, this, &PdfPageItem::discardRendering);
}

void PdfPageItem::setDocument(PdfPreviewDocument* document) {
    if (m_document == document) {
        return;
    }
    if (m_document) {
        disconnect(m_document, nullptr, this, nullptr);
    }
    m_document = document;
    if (m_document) {
        connect(m_document, &PdfPreviewDocument::documentChanged, this,
                &PdfPageItem::discardRendering);
    }
    emit documentChanged();
    discardRendering();
}

void PdfPageItem::setPage(int page) {
    if (m_page != page) {
        m_page = page;
        emit pageChanged();
        discardRendering();
    }
}

void PdfPageItem::paint(QPainter* painter) {
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const QSize pixels = (QSizeF(width(), height()) * ratio).toSize();
    if (!m_document || pixels.isEmpty()) {
        return;
    }
    if (m_image.isNull() || m_image.size() != pixels) {
        m_image = m_document->render(m_page, pixels);
        if (!m_image.isNull()) {
            emit renderedChanged();
        }
    }
    painter->drawImage(QRectF(0, 0, width(), height()), m_image);
}

void PdfPageItem::discardRendering() {
    const bool wasRendered = isRendered();
    m_image = {};
    if (wasRendered) {
        emit renderedChanged();
    }
    update();
}

} // namespace velmarto
