#include "core/conversion/midi/MidiTrackWriter.h"

namespace velmarto {

void MidiTrackWriter::appendVariableLength(QByteArray& out, quint32 value) {
    char bytes[5];
    int count = 0;
    bytes[count++] = char(value & 0x7f);
    while ((value >>= 7) != 0) {
        bytes[count++] = char((value & 0x7f) | 0x80);
    }
    while (count > 0) {
        out += bytes[--count];
    }
}

void MidiTrackWriter::appendRaw(quint32 delta, QByteArrayView raw) {
    appendVariableLength(m_bytes, delta);
    m_bytes += raw;
}

void MidiTrackWriter::appendMeta(quint32 delta, quint8 type, QByteArrayView payload) {
    appendVariableLength(m_bytes, delta);
    m_bytes += char(0xff);
    m_bytes += char(type);
    appendVariableLength(m_bytes, quint32(payload.size()));
    m_bytes += payload;
}

void MidiTrackWriter::appendBytes(QByteArrayView bytes) {
    m_bytes += bytes;
}

} // namespace velmarto
