#include "core/conversion/midi/Windows1252.h"

namespace velmarto::windows1252 {

namespace {

// 0x80 to 0x9f; the rest of the code page equals Latin-1.
constexpr char16_t upperControlRange[32] = {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
};

} // namespace

QString decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = quint8(byte);
        text += value >= 0x80 && value <= 0x9f ? QChar(upperControlRange[value - 0x80])
                                               : QChar(char16_t(value));
    }
    return text;
}

} // namespace velmarto::windows1252
