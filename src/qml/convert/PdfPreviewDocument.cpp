#include "qml/convert/PdfPreviewDocument.h"

namespace velmarto {

PdfPreviewDocument::PdfPreviewDocument(QObject* parent)
    : QObject(parent) {
    connect(&m_renderer, &PdfPageRenderer::rendered, this, &PdfPreviewDocument::pageRendered);
}

void PdfPreviewDocument::load(const QUrl& source) {
    if (source == m_source && isReady()) {
        return;
    }
    const bool sourceChanged = source != m_source;
    m_source = source;
    m_document.close();
    m_pageSizes.clear();
    if (source.isLocalFile()) {
        m_document.load(source.toLocalFile());
    }
    if (isReady()) {
        for (int page = 0; page < m_document.pageCount(); ++page) {
            m_pageSizes.append(m_document.pagePointSize(page));
        }
    }
    m_renderer.setFile(isReady() ? source.toLocalFile() : QString());
    if (sourceChanged) {
        emit this->sourceChanged();
    }
    emit documentChanged();
}

QSizeF PdfPreviewDocument::pagePointSize(int page) const {
    return m_pageSizes.value(page);
}

void PdfPreviewDocument::requestPage(int page, QSize pixels) {
    m_renderer.request(page, pixels);
}

void PdfPreviewDocument::cancelPage(int page) {
    m_renderer.cancel(page);
}

} // namespace velmarto
