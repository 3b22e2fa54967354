#include "core/accounts/mail/Backend.h"

namespace velmarto {

Backend Backend::fromBuild() {
    return Backend{QUrl(QString::fromUtf8(VELMARTO_RELAY_ENDPOINT)),
                   QString::fromUtf8(VELMARTO_RELAY_TOKEN)};
}

} // namespace velmarto
