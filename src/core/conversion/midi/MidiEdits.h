#pragma once

#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/Performance.h"

#include <QList>

namespace velmarto {

// The import choices MuseScore's operations file cannot carry, made on the MIDI file itself.
namespace midiedits {

// Empties the tracks with notes that are not chosen (numbered from 1 among the tracks that hold
// notes) of everything but tempo, time and key: MuseScore leaves a track without notes out of
// the score. Returns how many tracks hold notes.
int keepTracks(MidiFile& file, const QList<int>& chosen);

// Replaces every time signature of the file by this one, from the start.
void setTimeSignature(MidiFile& file, TimeSignature signature);

// Moves every note's start and end onto a grid of the given note value (4 a quarter ... 64), so
// that no note is shorter than one step: MuseScore keeps the shorter notes of a sequenced file
// whatever its own quantisation is set to. Notes that start together on one key become one.
void snapToGrid(MidiFile& file, int noteValue);

// Splits every piano track that plays on both sides of middle C into two tracks, the notes from
// middle C up and those below, each with the track's name and controllers: MuseScore engraves two
// such tracks as a piano's two staves. Only tracks that play one piano on one channel are split.
void splitPianoTracks(MidiFile& file);

} // namespace midiedits

} // namespace velmarto
