#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmarto::test {

// Writes small Standard MIDI Files (format 1) for tests and benchmarks: a tempo, named tracks,
// and notes one after another.
class MidiFileBuilder {
public:
    struct Note {
        int pitch;
        int ticks;
    };

    MidiFileBuilder& tempo(int beatsPerMinute);
    MidiFileBuilder& track(const QString& name, const QList<Note>& notes, int channel = 0);

    QByteArray build() const;
    bool writeTo(const QString& path) const;

    // Two named tracks of a few bars each: melody and bass.
    static MidiFileBuilder twoTrackTune();
    // One track long enough to fill the given number of bars.
    static MidiFileBuilder scale(int bars);

private:
    static constexpr int ticksPerQuarter = 480;
    int m_microsecondsPerQuarter = 500000;
    QList<QByteArray> m_tracks;
};

} // namespace velmarto::test
