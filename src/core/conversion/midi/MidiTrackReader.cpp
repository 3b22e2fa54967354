#include "core/conversion/midi/MidiTrackReader.h"

namespace velmarto {

namespace {

int dataBytesFor(quint8 status) {
    const quint8 kind = status & 0xf0;
    return kind == 0xc0 || kind == 0xd0 ? 1 : 2;
}

} // namespace

MidiTrackReader::MidiTrackReader(QByteArrayView track)
    : m_track(track) {}

bool MidiTrackReader::fail() {
    m_hasError = true;
    return false;
}

bool MidiTrackReader::readVariableLength(quint32& value) {
    value = 0;
    // The format allows four bytes, enough for 28 bits.
    for (int count = 0; count < 4; ++count) {
        if (m_position >= m_track.size()) {
            return false;
        }
        const auto byte = quint8(m_track[m_position++]);
        value = (value << 7) | (byte & 0x7f);
        if ((byte & 0x80) == 0) {
            return true;
        }
    }
    return false;
}

bool MidiTrackReader::readNext() {
    if (m_ended || m_hasError || m_position >= m_track.size()) {
        return false;
    }
    MidiEvent event;
    if (!readVariableLength(event.delta) || m_position >= m_track.size()) {
        return fail();
    }
    const qsizetype start = m_position;
    const auto first = quint8(m_track[m_position]);

    if (first == 0xff || first == 0xf0 || first == 0xf7) {
        ++m_position;
        if (first == 0xff) {
            if (m_position >= m_track.size()) {
                return fail();
            }
            event.kind = MidiEvent::Kind::meta;
            event.metaType = quint8(m_track[m_position++]);
        } else {
            event.kind = MidiEvent::Kind::sysex;
        }
        event.status = first;
        quint32 length = 0;
        if (!readVariableLength(length) || length > quint32(m_track.size() - m_position)) {
            return fail();
        }
        event.data = m_track.sliced(m_position, length);
        m_position += length;
        m_ended = event.kind == MidiEvent::Kind::meta && event.metaType == 0x2f;
    } else {
        if (first & 0x80) {
            // System common and real-time bytes have no place in a file.
            if (first >= 0xf0) {
                return fail();
            }
            m_runningStatus = first;
            ++m_position;
        } else if (m_runningStatus == 0) {
            return fail();
        }
        event.status = m_runningStatus;
        const int count = dataBytesFor(event.status);
        if (m_track.size() - m_position < count) {
            return fail();
        }
        event.data = m_track.sliced(m_position, count);
        for (const char byte : event.data) {
            if (quint8(byte) & 0x80) {
                return fail();
            }
        }
        m_position += count;
    }
    event.raw = m_track.sliced(start, m_position - start);
    m_event = event;
    return true;
}

bool trackHoldsNotes(QByteArrayView track) {
    MidiTrackReader reader(track);
    while (reader.readNext()) {
        if (reader.event().isNoteOn()) {
            return true;
        }
    }
    return false;
}

} // namespace velmarto
