#include "cli/ParallelBatch.h"

#include <algorithm>

namespace velmarto {

ParallelBatch::ParallelBatch(int maxJobs, const CancellationToken* cancellation, QObject* parent)
    : QObject(parent)
    , m_cancellation(cancellation) {
    m_pool.setMaxThreadCount(std::max(1, maxJobs));
}

bool ParallelBatch::run(const std::vector<Job>& jobs, const Reporter& report) {
    m_jobs = &jobs;
    m_report = report;
    m_reports.assign(jobs.size(), std::nullopt);
    m_started = 0;
    m_reported = 0;
    m_allSucceeded = true;
    while (mayStartMore() && m_started < std::size_t(m_pool.maxThreadCount())) {
        startNext();
    }
    if (m_reported < m_started) {
        m_loop.exec();
    }
    m_pool.waitForDone();
    return m_allSucceeded && m_reported == jobs.size();
}

bool ParallelBatch::mayStartMore() const {
    return m_started < m_jobs->size() && !(m_cancellation && m_cancellation->isCancelled());
}

void ParallelBatch::startNext() {
    const std::size_t index = m_started++;
    m_pool.start([this, index, job = m_jobs->at(index)] {
        JobReport report = job();
        QMetaObject::invokeMethod(
            this, [this, index, report = std::move(report)] { finished(index, report); },
            Qt::QueuedConnection);
    });
}

void ParallelBatch::finished(std::size_t index, const JobReport& report) {
    m_reports.at(index) = report;
    if (mayStartMore()) {
        startNext();
    }
    while (m_reported < m_started && m_reports.at(m_reported)) {
        const JobReport& next = *m_reports.at(m_reported);
        m_allSucceeded &= next.succeeded;
        m_report(next);
        ++m_reported;
    }
    quitWhenAllReported();
}

void ParallelBatch::quitWhenAllReported() {
    if (m_reported == m_started && !mayStartMore()) {
        m_loop.quit();
    }
}

} // namespace velmarto
