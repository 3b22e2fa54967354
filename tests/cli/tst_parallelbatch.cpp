#include "cli/ParallelBatch.h"

#include <QTest>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;
using velmarto::JobReport;
using velmarto::ParallelBatch;

namespace {

// Sleeps instead of working, so that the order in which jobs finish is known even on a busy
// machine, and counts how many run at the same time.
struct Sleepers {
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    std::atomic<int> ran{0};
    std::vector<std::atomic<bool>> done;

    explicit Sleepers(std::size_t count)
        : done(count) {}

    ParallelBatch::Job job(std::size_t index, int milliseconds, bool succeeds = true) {
        return [this, index, milliseconds, succeeds] {
            const int now = ++running;
            int most = mostAtOnce;
            while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
            }
            ++ran;
            QThread::msleep(milliseconds);
            --running;
            done.at(index) = true;
            return JobReport{succeeds, u"out %1"_s.arg(index), u"err %1"_s.arg(index)};
        };
    }
};

} // namespace

class TestParallelBatch : public QObject {
    Q_OBJECT

private slots:
    void reportsInTheOrderOfTheJobsEachAsSoonAsItsTurnComes() {
        Sleepers sleepers(3);
        const std::vector<ParallelBatch::Job> jobs{sleepers.job(0, 150), sleepers.job(1, 10),
                                                   sleepers.job(2, 1500)};
        QStringList reported;
        bool lastStillRunningWhenTheFirstTwoWereReported = false;
        ParallelBatch batch(3);
        const bool allSucceeded = batch.run(jobs, [&](const JobReport& report) {
            reported << report.output;
            if (reported.size() == 2) {
                lastStillRunningWhenTheFirstTwoWereReported = !sleepers.done.at(2);
            }
        });
        QVERIFY(allSucceeded);
        QCOMPARE(reported, (QStringList{u"out 0"_s, u"out 1"_s, u"out 2"_s}));
        QVERIFY(lastStillRunningWhenTheFirstTwoWereReported);
    }

    void runsNoMoreJobsAtOnceThanAllowed_data() {
        QTest::addColumn<int>("maxJobs");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
    }

    void runsNoMoreJobsAtOnceThanAllowed() {
        QFETCH(int, maxJobs);
        Sleepers sleepers(6);
        std::vector<ParallelBatch::Job> jobs;
        for (std::size_t index = 0; index < 6; ++index) {
            jobs.push_back(sleepers.job(index, 200));
        }
        int reports = 0;
        QVERIFY(ParallelBatch(maxJobs).run(jobs, [&](const JobReport&) { ++reports; }));
        QCOMPARE(reports, 6);
        QCOMPARE(sleepers.mostAtOnce, maxJobs);
    }

    void oneFailureFailsTheBatchAndEveryJobIsStillReported() {
        Sleepers sleepers(3);
        const std::vector<ParallelBatch::Job> jobs{sleepers.job(0, 10), sleepers.job(1, 10, false),
                                                   sleepers.job(2, 10)};
        QStringList errors;
        QVERIFY(
            !ParallelBatch(2).run(jobs, [&](const JobReport& report) { errors << report.errors; }));
        QCOMPARE(errors, (QStringList{u"err 0"_s, u"err 1"_s, u"err 2"_s}));
    }

    void afterCancellingOnlyTheRunningJobsFinishAndAreReported() {
        Sleepers sleepers(5);
        std::vector<ParallelBatch::Job> jobs;
        // Job 1 outlasts job 0 by far, so job 0 is reported (and the batch cancelled) while job 1
        // still runs and job 2 has just taken job 0's place.
        for (std::size_t index = 0; index < 5; ++index) {
            jobs.push_back(sleepers.job(index, index == 1 ? 600 : 50));
        }
        velmarto::CancellationToken cancellation;
        ParallelBatch batch(2, &cancellation);
        QStringList reported;
        const bool allSucceeded = batch.run(jobs, [&](const JobReport& report) {
            reported << report.output;
            cancellation.cancel();
        });
        QVERIFY(!allSucceeded);
        QCOMPARE(reported, (QStringList{u"out 0"_s, u"out 1"_s, u"out 2"_s}));
        QCOMPARE(sleepers.ran, 3);
    }

    void anEmptyBatchSucceedsAtOnce() {
        QVERIFY(ParallelBatch(4).run({}, [](const JobReport&) { QFAIL("nothing to report"); }));
    }
};

QTEST_GUILESS_MAIN(TestParallelBatch)
#include "tst_parallelbatch.moc"
