#include "core/accounts/SessionDependencies.h"

#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/mail/Backend.h"
#include "core/accounts/mail/EmailSender.h"
#include "core/accounts/mail/MailDelivery.h"
#include "core/accounts/mail/RemoteMailer.h"
#include "core/platform/PlatformProfile.h"

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
