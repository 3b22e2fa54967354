#pragma once

#include "core/accounts/AccountStore.h"
#include "core/accounts/mail/CodeDelivery.h"
#include "core/platform/MailProfile.h"
#include "core/settings/PreferenceStore.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace velmarto {

// Everything a Session reaches outside itself. The application uses production(); tests put
// fakes, a fixed clock and chosen codes in their place.
struct SessionDependencies {
    AccountStore accounts;
    // Holds the signed-in address across restarts.
    PreferenceStore preferences;
    std::shared_ptr<CodeDelivery> delivery;
    // The notes shown when the platform's mail could not send a code.
    MailProfile mail;
    std::function<QDateTime()> clock;
    // A number from 0 to 999 999, drawn uniformly.
    std::function<quint32()> codeGenerator;

    static SessionDependencies production();
};

} // namespace velmarto
