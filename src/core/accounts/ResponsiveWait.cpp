#include "core/accounts/ResponsiveWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QThreadPool>

#include <future>

namespace velmarto::responsivewait {

namespace {

// Apart from the shared pool, which a conversion may keep busy for minutes.
QThreadPool& workers() {
    static QThreadPool pool;
    return pool;
}

} // namespace

void run(const std::function<void()>& work) {
    if (QCoreApplication::instance() == nullptr ||
        QThread::currentThread()->eventDispatcher() == nullptr) {
        work();
        return;
    }
    QEventLoop loop;
    std::promise<void> done;
    const std::future<void> finished = done.get_future();
    workers().start([&work, &loop, &done] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        done.set_value();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // An application that quits ends every event loop at once, this one included, while the work
    // may still be using what it captured.
    finished.wait();
}

} // namespace velmarto::responsivewait
