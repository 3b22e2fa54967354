#pragma once

#include <QByteArrayView>

namespace velmarto {

// One event of a track, as it stands in the file. The views point into the track's bytes.
struct MidiEvent {
    enum class Kind { channel, sysex, meta };

    quint32 delta = 0;
    Kind kind = Kind::channel;
    // The channel status in force for this event, also when the file relied on running status.
    quint8 status = 0;
    // Meta events only: the type byte (0x03 track name, 0x05 lyric, 0x2f end of track ...).
    quint8 metaType = 0;
    // The event's bytes after its delta time, exactly as stored (without a status byte when the
    // file used running status).
    QByteArrayView raw;
    // Channel events: the data bytes; sysex and meta events: the payload after the length.
    QByteArrayView data;

    bool isNoteOn() const {
        return kind == Kind::channel && (status & 0xf0) == 0x90 && data.size() == 2 && data[1] != 0;
    }
};

} // namespace velmarto
