#pragma once

#include <QString>

namespace velmarto {

// Surrounding whitespace and line breaks removed, then lower-cased: the form in which addresses
// are stored and compared.
QString normalisedEmail(const QString& typed);

// A deliberately loose check of a normalised address: something before the first "@", and after
// it a domain of at least three characters that holds a "." and does not start with one.
bool isValidEmail(const QString& normalised);

} // namespace velmarto
