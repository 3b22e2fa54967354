#include "accounts/KeychainSecretStore.h"

#include <QCoreApplication>
#include <QThread>
#include <qt6keychain/keychain.h>

#include <functional>
#include <future>
#include <memory>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

struct JobOutcome {
    QKeychain::Error error = QKeychain::NoError;
    QByteArray data;
};

// QtKeychain hands every job to one executor object that lives in the thread of the very first
// job and silently stalls once that thread has ended. All jobs therefore run on one thread that
// lasts until the application object goes away.
QObject* keychainThreadContext() {
    static QObject* const context = [] {
        auto* thread = new QThread;
        thread->setObjectName(u"velmarto-keychain"_s);
        thread->start();
        auto* object = new QObject;
        object->moveToThread(thread);
        qAddPostRoutine([] {
            QThread* keychainThread = keychainThreadContext()->thread();
            keychainThread->quit();
            keychainThread->wait();
        });
        return object;
    }();
    return context;
}

JobOutcome runJob(std::function<QKeychain::Job*()> createJob) {
    Q_ASSERT(QThread::currentThread() != keychainThreadContext()->thread());
    auto promise = std::make_shared<std::promise<JobOutcome>>();
    std::future<JobOutcome> outcome = promise->get_future();
    QMetaObject::invokeMethod(keychainThreadContext(), [createJob = std::move(createJob), promise] {
        QKeychain::Job* job = createJob();
        QObject::connect(job, &QKeychain::Job::finished, job, [promise](QKeychain::Job* finished) {
            JobOutcome result{finished->error(), {}};
            if (const auto* readJob = qobject_cast<QKeychain::ReadPasswordJob*>(finished)) {
                result.data = readJob->binaryData();
            }
            promise->set_value(std::move(result));
        });
        job->start();
    });
    return outcome.get();
}

} // namespace

std::optional<QByteArray> KeychainSecretStore::read(const QString& service, const QString& key) {
    const JobOutcome outcome = runJob([service, key]() -> QKeychain::Job* {
        auto* job = new QKeychain::ReadPasswordJob(service);
        job->setKey(key);
        return job;
    });
    if (outcome.error != QKeychain::NoError) {
        return std::nullopt;
    }
    return outcome.data;
}

void KeychainSecretStore::remove(const QString& service, const QString& key) {
    runJob([service, key]() -> QKeychain::Job* {
        auto* job = new QKeychain::DeletePasswordJob(service);
        job->setKey(key);
        return job;
    });
}

bool KeychainSecretStore::add(const QString& service, const QString& key, const QByteArray& data) {
    const JobOutcome outcome = runJob([service, key, data]() -> QKeychain::Job* {
        auto* job = new QKeychain::WritePasswordJob(service);
        job->setKey(key);
        job->setTextData(QString::fromUtf8(data));
        return job;
    });
    return outcome.error == QKeychain::NoError;
}

} // namespace velmarto
