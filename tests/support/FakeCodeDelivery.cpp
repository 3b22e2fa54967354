#include "FakeCodeDelivery.h"

namespace velmarto::test {

void FakeCodeDelivery::deliver(const QString& code, const QString& email, Completion completion) {
    requests.append({code, email, std::move(completion)});
}

} // namespace velmarto::test
