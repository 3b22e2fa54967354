#pragma once

#include <QString>

namespace velmarto {

// 16 bytes from the system's secure generator as 32 lower-case hex digits.
QString randomSalt();

// SHA-256 over the UTF-8 of the salt followed directly by the password, as 64 lower-case hex
// digits. The password is taken exactly as typed: no trimming, case folding or normalisation,
// because stored accounts were hashed that way.
QString hashPassword(const QString& password, const QString& salt);

} // namespace velmarto
