#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace velmarto {

// Builds the bytes of one track chunk, event by event.
class MidiTrackWriter {
public:
    // An event copied as it stood in the source track, running status included.
    void appendRaw(quint32 delta, QByteArrayView raw);
    void appendMeta(quint32 delta, quint8 type, QByteArrayView payload);
    void appendBytes(QByteArrayView bytes);

    const QByteArray& bytes() const { return m_bytes; }

    // Values above 28 bits, which no reader accepts, never arise: lengths are bounded by the
    // file size and delta times are copied from the source.
    static void appendVariableLength(QByteArray& out, quint32 value);

private:
    QByteArray m_bytes;
};

} // namespace velmarto
