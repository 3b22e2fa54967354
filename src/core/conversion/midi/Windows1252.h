#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmarto {

// The Windows code page most MIDI files of the nineties wrote their texts in; a superset of the
// printable Latin-1 characters.
namespace windows1252 {
// The five bytes the code page leaves undefined become the control characters of the same
// value, as browsers decode them, so no byte is lost.
QString decode(QByteArrayView bytes);
} // namespace windows1252

} // namespace velmarto
