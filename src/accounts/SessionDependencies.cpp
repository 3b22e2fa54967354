#include "accounts/SessionDependencies.h"

#include "accounts/Backend.h"
#include "accounts/EmailSender.h"
#include "accounts/KeychainSecretStore.h"
#include "accounts/MailDelivery.h"
#include "accounts/RemoteMailer.h"
#include "platform/PlatformProfile.h"

#include <QRandomGenerator>

namespace velmarto {

SessionDependencies SessionDependencies::production() {
    const MailProfile mail = PlatformProfile::current().mail;
    return SessionDependencies{
        .accounts = AccountStore(std::make_shared<KeychainSecretStore>(), PreferenceStore()),
        .preferences = PreferenceStore(),
        .delivery = std::make_shared<MailDelivery>(
            std::make_unique<RemoteMailer>(Backend::fromBuild()), EmailSender(mail)),
        .mail = mail,
        .clock = [] { return QDateTime::currentDateTimeUtc(); },
        .codeGenerator = [] { return QRandomGenerator::system()->bounded(1'000'000U); },
    };
}

} // namespace velmarto
