#include "ui/convert/PdfPreviewDocument.h"

namespace velmarto {

PdfPreviewDocument::PdfPreviewDocument(QObject* parent)
    : QObject(parent) {}

void PdfPreviewDocument::load(const QUrl& source) {
    if (source == m_source && isReady()) {
        return;
    }
    const bool sourceChanged = source != m_source;
    m_source = source;
    m_document.close();
    if (source.isLocalFile()) {
        m_document.load(source.toLocalFile());
    }
    if (sourceChanged) {
        emit this->sourceChanged();
    }
    emit documentChanged();
}

QSizeF PdfPreviewDocument::pagePointSize(int page) const {
    return isReady() ? m_document.pagePointSize(page) : QSizeF();
}

QImage PdfPreviewDocument::render(int page, QSize pixels) {
    return isReady() ? m_document.render(page, pixels) : QImage();
}

} // namespace velmarto
