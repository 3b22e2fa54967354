#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stop_token>
#include <thread>

namespace velmarto {

// Renders the pages of one PDF file on a thread of its own, so that zooming a long score or
// painting a large page never holds up the window. A request for a page replaces an earlier one
// for the same page that has not started yet; a new file drops every request for the old one.
class PdfPageRenderer : public QObject {
    Q_OBJECT

public:
    explicit PdfPageRenderer(QObject* parent = nullptr);
    ~PdfPageRenderer() override;

    // An empty path renders nothing.
    void setFile(const QString& path);
    void request(int page, QSize pixels);
    void cancel(int page);

signals:
    // On the thread that owns the renderer; only for the file set last.
    void rendered(int page, QSize pixels, const QImage& image);

private:
    void work(const std::stop_token& stop);

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    QString m_path;
    quint64 m_generation = 0;
    std::map<int, QSize> m_pending;
    // Declared last: it starts once the state above exists and is joined before that goes.
    std::jthread m_thread;
};

} // namespace velmarto
