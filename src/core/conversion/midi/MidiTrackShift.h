#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace velmarto {

// Moves the notes of one track chunk in time, with what belongs to them (controllers, program
// changes, lyrics and other texts); the events that define the beat (tempo, time and key
// signatures) stay where they are, and so does what stands at the start of the track. Nothing
// moves before the start.
namespace miditrackshift {
// ticks: how far to move, later when positive. The track must be well-formed.
QByteArray shifted(QByteArrayView track, int ticks);
} // namespace miditrackshift

} // namespace velmarto
