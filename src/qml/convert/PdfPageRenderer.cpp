#include "qml/convert/PdfPageRenderer.h"

#include <QPdfDocument>

namespace velmarto {

PdfPageRenderer::PdfPageRenderer(QObject* parent)
    : QObject(parent)
    , m_thread([this](const std::stop_token& stop) { work(stop); }) {}

PdfPageRenderer::~PdfPageRenderer() {
    m_thread.request_stop();
    m_thread.join();
}

void PdfPageRenderer::setFile(const QString& path) {
    const std::scoped_lock lock(m_mutex);
    m_path = path;
    ++m_generation;
    m_pending.clear();
}

void PdfPageRenderer::request(int page, QSize pixels) {
    {
        const std::scoped_lock lock(m_mutex);
        if (m_path.isEmpty()) {
            return;
        }
        m_pending[page] = pixels;
    }
    m_wake.notify_one();
}

void PdfPageRenderer::cancel(int page) {
    const std::scoped_lock lock(m_mutex);
    m_pending.erase(page);
}

void PdfPageRenderer::work(const std::stop_token& stop) {
    // The thread's own document: QPdfDocument may not be shared between threads.
    QPdfDocument document;
    quint64 openGeneration = 0;
    while (true) {
        int page = 0;
        QSize pixels;
        quint64 generation = 0;
        QString path;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_pending.empty(); })) {
                return;
            }
            const auto next = m_pending.begin();
            page = next->first;
            pixels = next->second;
            m_pending.erase(next);
            generation = m_generation;
            path = m_path;
        }
        if (generation != openGeneration) {
            document.close();
            document.load(path);
            openGeneration = generation;
        }
        QImage image = document.render(page, pixels);
        QMetaObject::invokeMethod(
            this,
            [this, generation, page, pixels, image = std::move(image)] {
                // Read here, on the owning thread, which is also the only one that writes it.
                if (generation == m_generation) {
                    emit rendered(page, pixels, image);
                }
            },
            Qt::QueuedConnection);
    }
}

} // namespace velmarto
