#include "core/accounts/Phase.h"

namespace velmarto {

Phase Phase::signedIn(QString email) {
    Phase phase;
    phase.m_kind = Kind::signedIn;
    phase.m_email = std::move(email);
    return phase;
}

} // namespace velmarto
