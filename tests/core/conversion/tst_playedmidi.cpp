// A keyboard recording, made up here with rubato and uneven fingers, must come out of the
// quantiser as written music: bars where the player felt them, notes on the grid, two hands.

#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/MidiTrackWriter.h"
#include "core/conversion/midi/PlayedInputDetector.h"
#include "core/conversion/midi/PlayedMidiQuantiser.h"
#include "support/MidiFileBuilder.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace velmarto;

namespace {

struct Played {
    double onset;
    double offset;
    int pitch;
    int velocity;
};

// A waltz: a loud, held bass note on each downbeat, quieter chords on beats two and three, and
// eighth notes in the melody, with the tempo swelling and slackening and every onset a little
// off. At the file's 480 ticks a quarter and 120 beats a minute a tick is about a millisecond.
QByteArray playedWaltz(int bars, int firstBeat) {
    QRandomGenerator random(7);
    QList<Played> notes;
    double time = 0.3;
    for (int beat = firstBeat; beat < bars * 3; ++beat) {
        const double period = 0.55 + 0.08 * std::sin(beat / 5.0);
        const auto jitter = [&] { return (random.bounded(30) - 15) / 1000.0; };
        if (beat % 3 == 0) {
            notes.append({time + jitter(), time + 2.6 * period, 36 + beat % 7, 100});
        } else {
            notes.append({time + jitter(), time + 0.8 * period, 55, 50});
            notes.append({time + jitter(), time + 0.8 * period, 59, 45});
        }
        notes.append({time + jitter(), time + 0.45 * period, 72 + beat % 5, 70});
        notes.append({time + period / 2 + jitter(), time + 0.95 * period, 74 + beat % 4, 60});
        time += period;
    }
    struct Event {
        int tick;
        QByteArray bytes;
    };
    QList<Event> events;
    for (const Played& note : notes) {
        events.append({int(std::lround(note.onset * 960)),
                       QByteArray::fromHex("90") + char(note.pitch) + char(note.velocity)});
        events.append({int(std::lround(note.offset * 960)),
                       QByteArray::fromHex("80") + char(note.pitch) + char(0)});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& first, const Event& second) {
        return first.tick < second.tick;
    });
    MidiTrackWriter track;
    track.appendMeta(0, 0x58, QByteArray::fromHex("04021808"));
    int last = 0;
    for (const Event& event : std::as_const(events)) {
        track.appendRaw(quint32(event.tick - last), event.bytes);
        last = event.tick;
    }
    track.appendMeta(0, 0x2f, {});
    QByteArray file = QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk";
    for (int shift = 24; shift >= 0; shift -= 8) {
        file += char((track.bytes().size() >> shift) & 0xff);
    }
    return file + track.bytes();
}

struct WrittenNote {
    int track;
    qint64 tick;
    int pitch;
};

QList<WrittenNote> notesOf(const MidiFile& file) {
    QList<WrittenNote> notes;
    int track = 0;
    for (const auto& chunk : file.chunks()) {
        qint64 tick = 0;
        MidiTrackReader reader(chunk.data);
        while (reader.readNext()) {
            tick += reader.event().delta;
            if (reader.event().isNoteOn()) {
                notes.append({track, tick, quint8(reader.event().data[0])});
            }
        }
        ++track;
    }
    return notes;
}

QByteArray timeSignatureOf(const MidiFile& file) {
    MidiTrackReader reader(file.chunks().first().data);
    while (reader.readNext()) {
        if (reader.event().kind == MidiEvent::Kind::meta && reader.event().metaType == 0x58) {
            return reader.event().data.toByteArray();
        }
    }
    return {};
}

} // namespace

class TestPlayedMidi : public QObject {
    Q_OBJECT

private slots:
    void aPlayedWaltzBecomesBarsOfThreeWithTheBassInTheLeftHand_data() {
        QTest::addColumn<int>("firstBeat");
        QTest::newRow("from a downbeat") << 0;
        QTest::newRow("from a pickup of one beat") << 2;
    }

    void aPlayedWaltzBecomesBarsOfThreeWithTheBassInTheLeftHand() {
        QFETCH(int, firstBeat);
        const auto played = MidiFile::parse(playedWaltz(24, firstBeat));
        QVERIFY(played);
        QVERIFY(PlayedInputDetector::isPlayed(*played));

        const auto quantised = PlayedMidiQuantiser::quantised(*played);
        QVERIFY(quantised);
        const auto score = MidiFile::parse(*quantised);
        QVERIFY(score);
        QVERIFY(!PlayedInputDetector::isPlayed(*score));
        QCOMPARE(timeSignatureOf(*score).left(2), QByteArray::fromHex("0302"));

        const QList<WrittenNote> notes = notesOf(*score);
        int bassNotes = 0;
        for (const WrittenNote& note : notes) {
            if (note.pitch < 48) {
                ++bassNotes;
                QCOMPARE(note.track, 2);
                QCOMPARE(note.tick % (3 * 480), 0);
            } else if (note.pitch >= 72) {
                QCOMPARE(note.track, 1);
                QCOMPARE(note.tick % 240, 0);
            }
        }
        QCOMPARE(bassNotes, 24 - (firstBeat > 0 ? 1 : 0));
    }

    void aSequencedFileIsLeftAlone() {
        const auto sequenced = MidiFile::parse(test::MidiFileBuilder::scale(8).build());
        QVERIFY(sequenced);
        QVERIFY(!PlayedInputDetector::isPlayed(*sequenced));
        QVERIFY(!PlayedMidiQuantiser::quantised(*sequenced));
    }
};

QTEST_GUILESS_MAIN(TestPlayedMidi)
#include "tst_playedmidi.moc"
