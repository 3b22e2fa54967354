#pragma once

#include "qml/convert/PdfPreviewDocument.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>

namespace velmarto {

// One page of a PdfPreviewDocument. While active it asks for a rendering at its size in device
// pixels and shows the latest one it got, stretched, until the one for its new size arrives; an
// inactive page (scrolled well out of view) lets its rendering go.
class PdfPageItem : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::PdfPreviewDocument* document READ document WRITE setDocument NOTIFY
                   documentChanged)
    Q_PROPERTY(int page READ page WRITE setPage NOTIFY pageChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(bool isRendered READ isRendered NOTIFY renderedChanged)
    // The rendering matches the item's current size.
    Q_PROPERTY(bool isSharp READ isSharp NOTIFY renderedChanged)

public:
    explicit PdfPageItem(QQuickItem* parent = nullptr);
    ~PdfPageItem() override;

    PdfPreviewDocument* document() const { return m_document; }
    int page() const { return m_page; }
    bool isActive() const { return m_active; }
    bool isRendered() const { return !m_image.isNull(); }
    bool isSharp() const { return isRendered() && m_image.size() == wantedPixels(); }
    void setDocument(PdfPreviewDocument* document);
    void setPage(int page);
    void setActive(bool active);

signals:
    void documentChanged();
    void pageChanged();
    void activeChanged();
    void renderedChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void updatePolish() override;
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;

private:
    QSize wantedPixels() const;
    void takeRendering(int page, QSize pixels, const QImage& image);
    void discardRendering();

    QPointer<PdfPreviewDocument> m_document;
    int m_page = 0;
    bool m_active = true;
    QImage m_image;
    QSize m_requested;
    bool m_imageChanged = false;
};

} // namespace velmarto
