// A keyboard recording, made up here with rubato and uneven fingers, must come out of the
// quantiser as written music: bars where the player felt them, notes on the grid, two hands.

#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/PlayedInputDetector.h"
#include "core/conversion/midi/PlayedMidiQuantiser.h"
#include "support/MidiFileBuilder.h"

#include <QTest>

#include <cmath>

using namespace velmarto;

namespace {

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
        const auto played = MidiFile::parse(test::MidiFileBuilder::playedWaltz(24, firstBeat));
        QVERIFY(played);
        QVERIFY(playedinputdetector::isPlayed(*played));

        const auto quantised = playedmidiquantiser::quantised(*played);
        QVERIFY(quantised);
        const auto score = MidiFile::parse(*quantised);
        QVERIFY(score);
        QVERIFY(!playedinputdetector::isPlayed(*score));
        QCOMPARE(timeSignatureOf(*score).left(2), QByteArray::fromHex("0302"));

        const QList<WrittenNote> notes = notesOf(*score);
        int bassNotes = 0;
        for (const WrittenNote& note : notes) {
            if (note.pitch < 48) {
                ++bassNotes;
                QCOMPARE(note.track, 2);
                QCOMPARE(note.tick % (qint64{3} * 480), 0);
            } else if (note.pitch >= 72) {
                QCOMPARE(note.track, 1);
                QCOMPARE(note.tick % 240, 0);
            }
        }
        QCOMPARE(bassNotes, 24 - (firstBeat > 0 ? 1 : 0));
    }

    void aSlowPieceKeepsItsSixteenthsRatherThanDoublingThem() {
        const auto played = MidiFile::parse(test::MidiFileBuilder::playedSlowSixteenths(12));
        QVERIFY(played);
        const auto quantised = playedmidiquantiser::quantised(*played);
        QVERIFY(quantised);
        const auto score = MidiFile::parse(*quantised);
        QVERIFY(score);

        QList<qint64> melody;
        int bassNotes = 0;
        for (const WrittenNote& note : notesOf(*score)) {
            if (note.pitch < 48) {
                ++bassNotes;
                QCOMPARE(note.tick % 480, 0);
            } else {
                melody.append(note.tick);
            }
        }
        QCOMPARE(bassNotes, 48);
        QCOMPARE(melody.size(), 4 * 48);
        for (qsizetype index = 1; index < melody.size(); ++index) {
            QCOMPARE(melody.at(index) - melody.at(index - 1), 120);
        }
    }

    void aSequencedFileIsLeftAloneUnlessTheUserSaysItWasPlayed() {
        const auto sequenced = MidiFile::parse(test::MidiFileBuilder::scale(8).build());
        QVERIFY(sequenced);
        QVERIFY(!playedinputdetector::isPlayed(*sequenced));
        QVERIFY(!playedmidiquantiser::quantised(*sequenced));
        QVERIFY(playedmidiquantiser::quantised(*sequenced, true));

        const auto played = MidiFile::parse(test::MidiFileBuilder::playedWaltz(8, 0));
        QVERIFY(played);
        QVERIFY(!playedmidiquantiser::quantised(*played, false));
    }
};

QTEST_GUILESS_MAIN(TestPlayedMidi)
#include "tst_playedmidi.moc"
