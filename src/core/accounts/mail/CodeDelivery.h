#pragma once

#include <QString>

#include <functional>

namespace velmarto {

// What became of one verification mail; the session turns it into the note the user reads.
enum class DeliveryResult {
    sent,
    // The relay could not be reached or did not accept the request.
    relayFailed,
    // The platform's mail has no account or transport to send with.
    mailNoAccount,
    // The platform did not let Velmarto drive its mail.
    mailNotPermitted,
    mailFailed,
};

// Sends one code to one address. deliver() returns at once; the completion runs later on the
// caller's thread, exactly once unless the delivery object is destroyed first.
class CodeDelivery {
public:
    using Completion = std::function<void(DeliveryResult)>;

    virtual ~CodeDelivery() = default;

    virtual void deliver(const QString& code, const QString& email, Completion completion) = 0;
};

} // namespace velmarto
