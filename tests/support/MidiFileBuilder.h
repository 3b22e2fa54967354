#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace velmarto::test {

// Writes small Standard MIDI Files (format 1) for tests and benchmarks: a tempo, named tracks,
// and notes one after another.
class MidiFileBuilder {
public:
    struct Note {
        int pitch;
        int ticks;
        QString lyric{}; // a lyric event sung on this note, when not empty
    };

    // A note at a given time, for tracks whose notes overlap or leave gaps.
    struct TimedNote {
        int start;
        int ticks;
        int pitch;
    };

    static constexpr int ticksPerQuarter = 480;

    // Meta events that carry text, written at the start of a track.
    enum class TextKind : char { text = 0x01, copyright = 0x02, instrument = 0x04, marker = 0x06 };
    struct Text {
        TextKind kind;
        QString text;
    };

    MidiFileBuilder& tempo(int beatsPerMinute);
    // A key signature in the first, note-less track: sharps above zero, flats below.
    MidiFileBuilder& key(int sharps);
    MidiFileBuilder& timedTrack(const QString& name, const QList<TimedNote>& notes,
                                int channel = 0);
    MidiFileBuilder& track(const QString& name, const QList<Note>& notes, int channel = 0,
                           const QList<Text>& texts = {});
    // A track each of whose notes sounds on two channels at once, the second an octave lower: one
    // track playing on several channels, as every type-0 file does.
    MidiFileBuilder& doubledTrack(const QString& name, const QList<Note>& notes, int channel,
                                  int doublingChannel);

    QByteArray build() const;
    bool writeTo(const QString& path) const;

    // Two named tracks of a few bars each: melody and bass.
    static MidiFileBuilder twoTrackTune();
    // One track long enough to fill the given number of bars.
    static MidiFileBuilder scale(int bars);
    // A waltz: a loud, held bass note on each downbeat, quieter chords on beats two and three, and
    // eighth notes in the melody, with the tempo swelling and slackening and every onset a little
    // off. At the file's 480 ticks a quarter and 120 beats a minute a tick is about a millisecond.
    // The recording starts on the given beat of a bar (a pickup unless it is 0).
    static QByteArray playedWaltz(int bars, int firstBeat);
    // A slow piece in common time: a bass note on every quarter and sixteenths above, at about
    // 46 quarters a minute, swelling and slackening, every onset a little off.
    static QByteArray playedSlowSixteenths(int bars);

private:
    struct Voice {
        int channel;
        int transposition;
    };
    MidiFileBuilder& trackOf(const QString& name, const QList<Note>& notes,
                             const QList<Voice>& voices, const QList<Text>& texts);

    int m_microsecondsPerQuarter = 500000;
    std::optional<int> m_sharps;
    QList<QByteArray> m_tracks;
};

} // namespace velmarto::test
