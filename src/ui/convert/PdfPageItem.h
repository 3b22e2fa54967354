#pragma once

#include "ui/convert/PdfPreviewDocument.h"

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>

namespace velmarto {

// One page of a PdfPreviewDocument, rendered at the item's size in device pixels. The rendering
// is kept until the size, the page or the document changes.
class PdfPageItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::PdfPreviewDocument* document READ document WRITE setDocument NOTIFY
                   documentChanged)
    Q_PROPERTY(int page READ page WRITE setPage NOTIFY pageChanged)
    Q_PROPERTY(bool isRendered READ isRendered NOTIFY renderedChanged)

public:
    explicit PdfPageItem(QQuickItem* parent = nullptr);

    PdfPreviewDocument* document() const { return m_document; }
    int page() const { return m_page; }
    bool isRendered() const { return !m_image.isNull(); }
    void setDocument(PdfPreviewDocument* document);
    void setPage(int page);

    void paint(QPainter* painter) override;

signals:
    void documentChanged();
    void pageChanged();
    void renderedChanged();

private:
    void discardRendering();

    QPointer<PdfPreviewDocument> m_document;
    int m_page = 0;
    QImage m_image;
};

} // namespace velmarto
