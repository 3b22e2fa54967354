#pragma once

#include "core/conversion/CancellationToken.h"

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>
#include <vector>

namespace velmarto {

// What one job of a batch has to say once it is done.
struct JobReport {
    bool succeeded = false;
    QString output; // for standard output
    QString errors; // for standard error
};

// Runs the jobs of a batch, up to a given number at once and in their order, and hands each
// report back on the calling thread in that order: a report waits for the reports before it,
// never for the jobs after it. Once the cancellation is set no further job starts; the running
// ones, which see the same cancellation, are still waited for and reported.
class ParallelBatch : public QObject {
    Q_OBJECT

public:
    using Job = std::function<JobReport()>;
    using Reporter = std::function<void(const JobReport&)>;

    explicit ParallelBatch(int maxJobs, const CancellationToken* cancellation = nullptr,
                           QObject* parent = nullptr);

    // Runs the calling thread's event loop until every job that was started has been reported.
    // Returns whether every job ran and succeeded.
    bool run(const std::vector<Job>& jobs, const Reporter& report);

private:
    void startNext();
    void finished(std::size_t index, const JobReport& report);
    void quitWhenAllReported();
    bool mayStartMore() const;

    QThreadPool m_pool;
    const CancellationToken* m_cancellation;
    const std::vector<Job>* m_jobs = nullptr;
    Reporter m_report;
    std::vector<std::optional<JobReport>> m_reports;
    std::size_t m_started = 0;
    std::size_t m_reported = 0;
    bool m_allSucceeded = true;
    QEventLoop m_loop;
};

} // namespace velmarto
