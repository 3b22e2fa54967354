#pragma once

#include "FakeCodeDelivery.h"
#include "FakeSecretStore.h"
#include "core/accounts/Session.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace velmarto::test {

// Sessions over an in-memory keychain, a code delivery the test finishes by hand and a
// throw-away preference file, all shared by the sessions it makes, as windows share them.
class SessionFixture {
    // First, so that it exists before the store that lives in it.
    QTemporaryDir m_folder;

public:
    SessionFixture()
        : secrets(std::make_shared<FakeSecretStore>())
        , delivery(std::make_shared<FakeCodeDelivery>())
        , store(m_folder.filePath(QStringLiteral("session.ini"))) {}

    std::unique_ptr<Session> makeSession() const {
        return std::make_unique<Session>(SessionDependencies{
            .accounts = AccountStore(secrets, store),
            .preferences = store,
            .delivery = delivery,
            .mail = MailProfile::freedesktop(),
            .clock = [] { return QDateTime::currentDateTimeUtc(); },
            .codeGenerator = [] { return quint32(123456); },
        });
    }

    // As if someone had signed in with this address in an earlier run and not signed out.
    void remember(const QString& email) const {
        store.open()->setValue(QStringLiteral("session.currentEmail"), email);
    }

    std::shared_ptr<FakeSecretStore> secrets;
    std::shared_ptr<FakeCodeDelivery> delivery;
    PreferenceStore store;
};

} // namespace velmarto::test
