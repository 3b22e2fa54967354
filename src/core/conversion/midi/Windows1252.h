#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmarto {

// The Windows code page most MIDI files of the nineties wrote their texts in; a superset of the
// printable Latin-1 characters.
class Windows1252 {
public:
    // The five bytes the code page leaves undefined become the control characters of the same
    // value, as browsers decode them, so no byte is lost.
    static QString decode(QByteArrayView bytes);
};

} // namespace velmarto
