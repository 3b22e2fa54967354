#pragma once

#include "core/conversion/midi/MidiEvent.h"

#include <QByteArrayView>

namespace velmarto {

// Walks the events of one track chunk. Every length is checked against the bytes that remain,
// so truncated or inflated input ends in hasError() instead of a read past the end; each step
// consumes at least one byte, so a walk always ends.
class MidiTrackReader {
public:
    explicit MidiTrackReader(QByteArrayView track);

    // Moves to the next event; false at the end of the track or on malformed data.
    bool readNext();
    const MidiEvent& event() const { return m_event; }
    bool hasError() const { return m_hasError; }
    // What follows the end-of-track event (some files carry padding there).
    QByteArrayView remainder() const { return m_track.sliced(m_position); }

private:
    bool fail();
    bool readVariableLength(quint32& value);

    QByteArrayView m_track;
    qsizetype m_position = 0;
    quint8 m_runningStatus = 0;
    bool m_ended = false;
    bool m_hasError = false;
    MidiEvent m_event;
};

// Whether the track plays any note, which tells an instrument's track from a tempo or title one.
bool trackHoldsNotes(QByteArrayView track);

} // namespace velmarto
