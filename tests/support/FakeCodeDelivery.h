#pragma once

#include "core/accounts/mail/CodeDelivery.h"

#include <QList>

namespace velmarto::test {

// Keeps every requested delivery so the test decides when and how each one ends.
class FakeCodeDelivery final : public CodeDelivery {
public:
    struct Request {
        QString code;
        QString email;
        Completion completion;
    };

    void deliver(const QString& code, const QString& email, Completion completion) override;

    QList<Request> requests;
};

} // namespace velmarto::test
