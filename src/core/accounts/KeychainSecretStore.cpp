#include "core/accounts/KeychainSecretStore.h"

#include <QCoreApplication>
#include <QThread>
#ifndef Q_OS_MACOS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#endif
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

#ifndef Q_OS_MACOS

const QString secretServiceName = u"org.freedesktop.secrets"_s;

// No session bus, or nothing on it that provides or can start a Secret Service.
bool secretServiceIsAbsent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return true;
    }
    QDBusConnectionInterface* busInterface = bus.interface();
    return !busInterface->isServiceRegistered(secretServiceName).value() &&
           !busInterface->activatableServiceNames().value().contains(secretServiceName);
}

// libsecret answers "not found" when the item sits in a locked collection and the unlock prompt
// was dismissed or could not be shown. The Secret Service's own search also lists locked items,
// so it tells a missing item from one that is merely out of reach. QtKeychain files the service
// as "server" and the key as "user".
bool secretServiceHasNoSuchItem(const QString& service, const QString& key) {
    QDBusMessage search =
        QDBusMessage::createMethodCall(secretServiceName, u"/org/freedesktop/secrets"_s,
                                       u"org.freedesktop.Secret.Service"_s, u"SearchItems"_s);
    using Attributes = QMap<QString, QString>;
    // The bus sends only the types it has been told about.
    [[maybe_unused]] static const QMetaType attributesType = qDBusRegisterMetaType<Attributes>();
    search << QVariant::fromValue(Attributes{{u"server"_s, service}, {u"user"_s, key}});
    const QDBusMessage answer = QDBusConnection::sessionBus().call(search);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().size() != 2) {
        return false;
    }
    const auto paths = [&answer](int index) {
        return qdbus_cast<QList<QDBusObjectPath>>(answer.arguments().at(index));
    };
    return paths(0).isEmpty() && paths(1).isEmpty();
}

SecretStore::ReadResult failedReadResult(QKeychain::Error error, const QString& service,
                                         const QString& key) {
    if (error == QKeychain::EntryNotFound) {
        if (secretServiceHasNoSuchItem(service, key)) {
            return SecretStore::Missing{};
        }
        return SecretStore::Unreadable{};
    }
    // Without a Secret Service the accounts live in the preference copy alone; that is the
    // desktop's normal state, not a failure to read.
    if (secretServiceIsAbsent()) {
        return SecretStore::Missing{};
    }
    return SecretStore::Unreadable{};
}

#else

SecretStore::ReadResult failedReadResult(QKeychain::Error error, const QString&, const QString&) {
    if (error == QKeychain::EntryNotFound) {
        return SecretStore::Missing{};
    }
    return SecretStore::Unreadable{};
}

#endif

} // namespace

SecretStore::ReadResult KeychainSecretStore::read(const QString& service, const QString& key) {
    const JobOutcome outcome = runJob([service, key]() -> QKeychain::Job* {
        auto* job = new QKeychain::ReadPasswordJob(service);
        job->setKey(key);
        return job;
    });
    if (outcome.error != QKeychain::NoError) {
        return failedReadResult(outcome.error, service, key);
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
