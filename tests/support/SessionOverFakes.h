#pragma once

#include "FakeCodeDelivery.h"
#include "FakeSecretStore.h"
#include "core/accounts/AccountStore.h"
#include "core/accounts/Session.h"
#include "core/settings/PreferenceStore.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <memory>

namespace velmarto::test {

// The surroundings of a session made of fakes: an in-memory keychain, code deliveries that the
// test finishes by hand, throw-away preferences, a fixed clock and codes counting up from 42.
class SessionOverFakes {
public:
    SessionOverFakes();

    // A new session over the same accounts and preferences, as after a restart.
    std::unique_ptr<Session> makeSession();

    void addAccount(const QString& email, const QString& password);
    AccountStore accounts() const;

    QString lastCode() const { return delivery->requests.last().code; }
    void finishLastDelivery(DeliveryResult result) const;

    std::shared_ptr<FakeSecretStore> secrets = std::make_shared<FakeSecretStore>();
    std::shared_ptr<FakeCodeDelivery> delivery = std::make_shared<FakeCodeDelivery>();
    QDateTime now;
    quint32 nextCode = 42;

private:
    QTemporaryDir m_directory;
    PreferenceStore m_preferences;
};

} // namespace velmarto::test
