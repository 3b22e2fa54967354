#pragma once

#include <QImage>
#include <QObject>
#include <QPdfDocument>
#include <QSizeF>
#include <QUrl>
#include <QtQmlIntegration>

namespace velmarto {

// The document behind PDFPreview. Pages are rendered here, on the caller's thread, because
// QtQuick.Pdf 6.4 renders on a loader thread that crashes when the document changes under it.
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
    int pageCount() const { return isReady() ? m_document.pageCount() : 0; }

    // The same location keeps the open document, so the view keeps its scroll position even if
    // the file changed on disk; conversions write each result to a new place, so a new result
    // always loads. A location that could not be opened is tried again.
    void load(const QUrl& source);

    Q_INVOKABLE QSizeF pagePointSize(int page) const;
    QImage render(int page, QSize pixels);

signals:
    void sourceChanged();
    void documentChanged();

private:
    QUrl m_source;
    QPdfDocument m_document;
};

} // namespace velmarto
