#pragma once

#include "qml/convert/PdfPageRenderer.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPdfDocument>
#include <QSizeF>
#include <QUrl>
#include <QtQmlIntegration>

namespace velmarto {

// The document behind PDFPreview. It opens the file here to learn the pages and their sizes, and
// leaves the rendering to a PdfPageRenderer thread, so the window never waits for a page. (The
// threaded page images of QtQuick.Pdf 6.4 crashed when a new result replaced the document.)
class PdfPreviewDocument : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE load NOTIFY sourceChanged)
    Q_PROPERTY(bool isReady READ isReady NOTIFY documentChanged)
    Q_PROPERTY(int pageCount READ pageCount NOTIFY documentChanged)

public:
    explicit PdfPreviewDocument(QObject* parent = nullptr);

    QUrl source() const { return m_source; }
    bool isReady() const { return m_document.status() == QPdfDocument::Status::Ready; }
    int pageCount() const { return static_cast<int>(m_pageSizes.size()); }

    // The same location keeps the open document, so the view keeps its scroll position even if
    // the file changed on disk; conversions write each result to a new place, so a new result
    // always loads. A location that could not be opened is tried again.
    void load(const QUrl& source);

    Q_INVOKABLE QSizeF pagePointSize(int page) const;
    // The answer arrives later through pageRendered.
    void requestPage(int page, QSize pixels);
    void cancelPage(int page);

signals:
    void sourceChanged();
    void documentChanged();
    void pageRendered(int page, QSize pixels, const QImage& image);

private:
    QUrl m_source;
    QPdfDocument m_document;
    // Read once when the file opens: asking pdfium later would wait on the renderer's lock.
    QList<QSizeF> m_pageSizes;
    PdfPageRenderer m_renderer;
};

} // namespace velmarto
