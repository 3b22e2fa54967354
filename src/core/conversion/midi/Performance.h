#pragma once

#include "core/conversion/midi/MidiFile.h"

#include <QList>

#include <optional>

namespace velmarto {

// One sounding note, in seconds from the start of the file.
struct PerformedNote {
    double onset = 0;
    double offset = 0;
    int pitch = 0;
    int velocity = 0;
    int channel = 0;
    int track = 0;
};

struct TimeSignature {
    int numerator = 4;
    int denominator = 4;

    friend bool operator==(const TimeSignature&, const TimeSignature&) = default;
};

// The notes of a MIDI file as they sound, with the sustain pedal and the file's own time
// signature: what the quantiser works from.
struct Performance {
    // Sorted by onset, then pitch.
    QList<PerformedNote> notes;
    // Intervals in which a sustain pedal is down, on any channel.
    QList<std::pair<double, double>> sustain;
    std::optional<TimeSignature> timeSignature;
    // The key signature's meta event payload (sharps, minor), when the file has one.
    std::optional<std::pair<qint8, quint8>> keySignature;
    int trackCount = 0;

    double length() const;

    // Nothing for a file that counts time in SMPTE frames.
    static std::optional<Performance> read(const MidiFile& file);
};

} // namespace velmarto
