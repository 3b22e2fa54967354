#include "qml/convert/PdfPageItem.h"

#include "qml/convert/PdfPreviewDocument.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>

#include <cmath>

namespace velmarto {

namespace {

// About 64 MB of pixels: beyond that a deeply zoomed page is rendered smaller and stretched.
constexpr qreal maximumPixels = 16.0 * 1024 * 1024;

} // namespace

PdfPageItem::PdfPageItem(QQuickItem* parent)
    : QQuickItem(parent) {
    setFlag(ItemHasContents);
}

PdfPageItem::~PdfPageItem() {
    if (m_document && m_requested.isValid()) {
        m_document->cancelPage(m_page);
    }
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
        connect(m_document, &PdfPreviewDocument::pageRendered, this, &PdfPageItem::takeRendering);
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

void PdfPageItem::setActive(bool active) {
    if (m_active == active) {
        return;
    }
    m_active = active;
    emit activeChanged();
    if (!active) {
        discardRendering();
    }
    polish();
}

void PdfPageItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        polish();
        update();
        emit renderedChanged();
    }
}

QSize PdfPageItem::wantedPixels() const {
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QSizeF pixels = QSizeF(width(), height()) * ratio;
    const qreal area = pixels.width() * pixels.height();
    if (area > maximumPixels) {
        pixels *= std::sqrt(maximumPixels / area);
    }
    return pixels.toSize();
}

void PdfPageItem::updatePolish() {
    const QSize pixels = wantedPixels();
    if (!m_document || !m_active || pixels.isEmpty() || pixels == m_image.size() ||
        pixels == m_requested) {
        return;
    }
    m_requested = pixels;
    m_document->requestPage(m_page, pixels);
}

void PdfPageItem::takeRendering(int page, QSize pixels, const QImage& image) {
    if (page != m_page || !m_active || image.isNull()) {
        return;
    }
    if (pixels == m_requested) {
        m_requested = {};
    }
    m_image = image;
    m_imageChanged = true;
    update();
    emit renderedChanged();
}

void PdfPageItem::discardRendering() {
    if (m_document && m_requested.isValid()) {
        m_document->cancelPage(m_page);
    }
    m_requested = {};
    const bool wasRendered = isRendered();
    m_image = {};
    m_imageChanged = true;
    update();
    polish();
    if (wasRendered) {
        emit renderedChanged();
    }
}

QSGNode* PdfPageItem::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*) {
    auto* node = static_cast<QSGImageNode*>(oldNode);
    if (m_image.isNull()) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        m_imageChanged = true;
    }
    if (m_imageChanged) {
        node->setTexture(window()->createTextureFromImage(m_image));
        m_imageChanged = false;
    }
    node->setRect(boundingRect());
    return node;
}

} // namespace velmarto
