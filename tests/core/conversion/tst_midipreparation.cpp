#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiPreparation.h"
#include "core/conversion/midi/MidiTrackReader.h"
#include "core/conversion/midi/ScoreTitle.h"
#include "core/conversion/midi/TrackKey.h"
#include "support/MidiFileBuilder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

QByteArray chunk(const char* type, const QByteArray& data) {
    QByteArray out(type, 4);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += char((data.size() >> shift) & 0xff);
    }
    return out + data;
}

QByteArray header(int format, int tracks) {
    const char data[] = {0, char(format), 0, char(tracks), 0x01, char(0xe0)};
    return chunk("MThd", QByteArray(data, sizeof data));
}

QByteArray meta(int type, const QByteArray& payload) {
    return QByteArray::fromHex("00ff") + char(type) + char(payload.size()) + payload;
}

const QByteArray endOfTrack = QByteArray::fromHex("00ff2f00");
// Two notes, the second written with running status (note-on velocity 0 as its note-off).
const QByteArray notes = QByteArray::fromHex("00903c50"
                                             "8360"
                                             "3c00"
                                             "00"
                                             "3e50"
                                             "8360"
                                             "3e00");
const QByteArray conductor = QByteArray::fromHex("00ff510307a120") + endOfTrack;
// The key that the notes above fit best: a track that has it already keeps its bytes.
const QByteArray inC = meta(0x59, QByteArray(2, '\0'));

struct TrackEvent {
    int metaType;
    QByteArray data;
};

// The meta events of every track, in order, key signatures left out.
QList<QList<TrackEvent>> metaEvents(const QByteArray& file) {
    QList<QList<TrackEvent>> tracks;
    const auto parsed = MidiFile::parse(file);
    if (!parsed) {
        return tracks;
    }
    for (const auto& chunk : parsed->chunks()) {
        QList<TrackEvent> events;
        MidiTrackReader reader(chunk.data);
        while (reader.readNext()) {
            if (reader.event().kind == MidiEvent::Kind::meta && reader.event().metaType != 0x59) {
                events.append({reader.event().metaType, reader.event().data.toByteArray()});
            }
        }
        tracks.append(events);
    }
    return tracks;
}

QByteArray trackName(const QByteArray& file, int track) {
    for (const TrackEvent& event : metaEvents(file).value(track)) {
        if (event.metaType == 0x03) {
            return event.data;
        }
    }
    return {};
}

using Notes = QList<test::MidiFileBuilder::TimedNote>;

// One note a beat (or the given spacing) on each pitch in turn, starting late by the offset.
Notes notesEvery(int spacing, const QList<int>& pitches, int count, int offset = 0) {
    Notes timed;
    for (int index = 0; index < count; ++index) {
        timed.append({index * spacing + offset, spacing / 2, pitches[index % pitches.size()]});
    }
    return timed;
}

QList<qint64> noteStarts(const QByteArray& file) {
    QList<qint64> starts;
    const auto parsed = MidiFile::parse(file);
    for (const auto& chunk : parsed->chunks()) {
        MidiTrackReader reader(chunk.data);
        qint64 time = 0;
        while (reader.readNext()) {
            time += reader.event().delta;
            if (reader.event().isNoteOn()) {
                starts.append(time);
            }
        }
    }
    return starts;
}

} // namespace

class TestMidiPreparation : public QObject {
    Q_OBJECT

private slots:
    void textEventsThatAreNotUtf8AreReadAsWindows1252_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Latin-1") << QByteArray("Sp\xe5r og Str\xf8m") << u"Spår og Strøm"_s;
        QTest::newRow("Windows-1252 quotes, dash, euro")
            << QByteArray("\x93Rock\x94 \x96 5\x80") << u"“Rock” – 5€"_s;
        QTest::newRow("valid UTF-8 stays") << QByteArray("Spår ♪") << u"Spår ♪"_s;
        QTest::newRow("plain ASCII") << QByteArray("Piano") << u"Piano"_s;
    }

    void textEventsThatAreNotUtf8AreReadAsWindows1252() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, expected);
        for (const int type : {0x01, 0x03, 0x04, 0x05, 0x09}) {
            const QByteArray file =
                header(1, 1) + chunk("MTrk", meta(type, stored) + notes + endOfTrack);
            const auto copy = midipreparation::prepared(file, QString());
            QVERIFY(copy);
            const auto events = metaEvents(copy->bytes);
            QCOMPARE(events.size(), 1);
            QCOMPARE(events[0][0].metaType, type);
            QCOMPARE(QString::fromUtf8(events[0][0].data), expected);
        }
    }

    void otherMetaEventsKeepTheirBytes() {
        // A sequencer-specific event and a title event are not texts to re-encode.
        const QByteArray file =
            header(1, 1) + chunk("MTrk", inC + meta(0x7f, "\xe5\x00\x01") + meta(0x10, "T\xe5") +
                                             notes + endOfTrack);
        QCOMPARE(midipreparation::prepared(file, QString())->bytes, file);
    }

    void theTitleGoesToTheFirstTrackWithNotes() {
        const QByteArray silent = chunk("MTrk", meta(0x03, "Words") + endOfTrack);
        const QByteArray piano = chunk("MTrk", meta(0x03, "Piano") + notes + endOfTrack);
        const QByteArray file = header(1, 4) + chunk("MTrk", conductor) + silent + piano + piano;
        const auto copy = midipreparation::prepared(file, u"Harp Harmony ♪"_s);
        QVERIFY(copy);
        const auto events = metaEvents(copy->bytes);
        QCOMPARE(events.size(), 4);
        QCOMPARE(events[0].size(), 2);
        QCOMPARE(events[1].size(), 2);
        QCOMPARE(events[2][0].metaType, 0x10);
        QCOMPARE(QString::fromUtf8(events[2][0].data), u"Harp Harmony ♪"_s);
        QCOMPARE(events[3].size(), 2);
        // The notes and their running status come through byte for byte.
        QVERIFY(copy->bytes.contains(notes));
    }

    void aTitleEventOfTheFileTakesTheNewTitle() {
        const QByteArray file = header(0, 1) + chunk("MTrk", meta(0x03, "Piano") + notes +
                                                                 meta(0x10, "Old") + endOfTrack);
        const auto events = metaEvents(midipreparation::prepared(file, u"New"_s)->bytes);
        QCOMPARE(events[0].size(), 3);
        QCOMPARE(events[0][1].metaType, 0x10);
        QCOMPARE(events[0][1].data, "New");
    }

    void typeZeroFilesGetTheTitleInTheirOneTrack() {
        const QByteArray file =
            header(0, 1) + chunk("MTrk", inC + meta(0x03, "Sp\xe5r") + notes + endOfTrack);
        const auto copy = midipreparation::prepared(file, u"Song"_s);
        QVERIFY(copy);
        QCOMPARE(copy->bytes,
                 header(0, 1) + chunk("MTrk", meta(0x10, "Song") + inC + meta(0x03, "Sp\xc3\xa5r") +
                                                  notes + endOfTrack));
    }

    void noTitleAndNothingToReencodeGivesTheSameBytes() {
        // An unknown chunk and padding after the last chunk survive as well.
        const QByteArray file =
            header(1, 2) + chunk("MTrk", conductor) + chunk("XFIH", "\x01\x02") +
            chunk("MTrk", meta(0x03, "Bass") + inC + notes + endOfTrack) + "\0\0"_ba;
        QCOMPARE(midipreparation::prepared(file, QString())->bytes, file);
    }

    void malformedFilesAreNotPrepared_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good =
            header(1, 1) + chunk("MTrk", meta(0x03, "Bass") + notes + endOfTrack);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a MIDI file") << "RIFF....RMIDdata"_ba;
        QTest::newRow("truncated in the track") << good.first(good.size() - 6);
        QTest::newRow("truncated in the header") << good.first(10);
        QTest::newRow("fewer tracks than announced")
            << header(1, 2) + chunk("MTrk", meta(0x03, "Bass") + notes + endOfTrack);
        QTest::newRow("format 3") << header(3, 1) + good.sliced(14);
        QTest::newRow("track longer than the file")
            << header(1, 1) + "MTrk\x7f\xff\xff\xff"_ba + notes;
        QTest::newRow("running status with no status")
            << header(1, 1) + chunk("MTrk", QByteArray::fromHex("003c50") + endOfTrack);
        QTest::newRow("meta length past the track")
            << header(1, 1) + chunk("MTrk", QByteArray::fromHex("00ff037f") + "Bass");
        QTest::newRow("delta time of five bytes")
            << header(1, 1) + chunk("MTrk", QByteArray::fromHex("8080808000903c50") + endOfTrack);
        QTest::newRow("system real-time byte")
            << header(1, 1) + chunk("MTrk", QByteArray::fromHex("00f8") + endOfTrack);
        QTest::newRow("status byte inside the data")
            << header(1, 1) + chunk("MTrk", QByteArray::fromHex("00903c90") + endOfTrack);
    }

    void malformedFilesAreNotPrepared() {
        QFETCH(QByteArray, file);
        QVERIFY(!midipreparation::prepared(file, u"Title"_s));
    }

    void anUnparsableFileLeavesNoPreparedCopy() {
        QTemporaryDir directory;
        const QString source = directory.filePath(u"broken.mid"_s);
        const QString target = directory.filePath(u"prepared.mid"_s);
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header(1, 1) + "MTrk\x00\x00\x01\x00\x00\x90"_ba);
        file.close();
        QVERIFY(!midipreparation::prepare(source, target, u"Broken"_s));
        QVERIFY(!QFile::exists(target));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(header(1, 1) + chunk("MTrk", meta(0x03, "Sp\xe5r") + notes + endOfTrack));
        file.close();
        QVERIFY(midipreparation::prepare(source, target, u"Fine"_s));
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(trackName(written.readAll(), 0), "Sp\xc3\xa5r");
    }

    void eachTrackGetsTheKeyThatLeavesFewestNotesOutside_data() {
        QTest::addColumn<QList<int>>("pitches");
        QTest::addColumn<int>("fileSharps"); // 99: the file gives no key
        QTest::addColumn<int>("sharps");
        const QList<int> gMajor{67, 69, 71, 72, 74, 76, 78};
        const QList<int> gBlues{67, 70, 72, 74, 77};
        const QList<int> pentatonic{60, 62, 64, 67, 69};
        QTest::newRow("G major in a file that says C") << gMajor << 0 << 1;
        QTest::newRow("G blues in a file that says G major") << gBlues << 1 << -1;
        QTest::newRow("of keys that fit alike, the file's own") << pentatonic << 1 << 1;
        QTest::newRow("of keys that fit alike, the fewest accidentals") << pentatonic << 99 << 0;
    }

    void eachTrackGetsTheKeyThatLeavesFewestNotesOutside() {
        QFETCH(QList<int>, pitches);
        QFETCH(int, fileSharps);
        QFETCH(int, sharps);
        test::MidiFileBuilder builder;
        if (fileSharps != 99) {
            builder.key(fileSharps);
        }
        builder.timedTrack(u"Tune"_s, notesEvery(480, pitches, 24))
            .timedTrack(u"Drums"_s, notesEvery(480, {36, 38, 42}, 24), 9);
        const auto copy = midipreparation::prepared(builder.build(), QString());
        QVERIFY(copy);
        const auto tracks = MidiFile::parse(copy->bytes)->chunks();
        const QList<trackkey::Signature> expected{{.sharps = sharps, .mode = 0}};
        QCOMPARE(trackkey::signaturesIn(tracks[1].data), expected);
        QCOMPARE(trackkey::signaturesIn(tracks[2].data), QList<trackkey::Signature>());
    }

    void sequencedNotesEndOnTheGrid_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("gridOffset");
        // Eighths and whole notes: moved back by 60 ticks instead, they would sit on triplets.
        test::MidiFileBuilder late;
        late.timedTrack(u"Tune"_s, notesEvery(240, {60, 64, 67}, 64, 20))
            .timedTrack(u"Bass"_s, notesEvery(1920, {36, 43}, 8, 20));
        QTest::newRow("every note late") << late.build() << 20;
        test::MidiFileBuilder thirtySecondLate;
        thirtySecondLate.timedTrack(u"Tune"_s, notesEvery(240, {60, 64, 67}, 64, 60));
        QTest::newRow("every note a thirty-second late") << thirtySecondLate.build() << 60;
        // A dotted sixteenth and a thirty-second on every eighth: half the notes lie between the
        // sixteenths as written, and moving them would throw the other half off.
        Notes dotted;
        for (int eighth = 0; eighth < 64; ++eighth) {
            dotted << test::MidiFileBuilder::TimedNote{eighth * 240, 180, 67}
                   << test::MidiFileBuilder::TimedNote{eighth * 240 + 180, 60, 69};
        }
        test::MidiFileBuilder written;
        written.timedTrack(u"Tune"_s, dotted);
        QTest::newRow("dotted rhythm as written") << written.build() << 0;
    }

    void sequencedNotesEndOnTheGrid() {
        QFETCH(QByteArray, file);
        QFETCH(int, gridOffset);
        // Said not to be played, so that the recording quantiser leaves it to the timing.
        const auto copy = midipreparation::prepared(file, QString(), {.played = false});
        QVERIFY(copy && copy->timing);
        QCOMPARE(copy->timing->kind, MidiTiming::Kind::sequenced);
        QCOMPARE(copy->timing->gridOffset, gridOffset);
        for (const qint64 start : noteStarts(copy->bytes)) {
            QCOMPARE(start % 60, 0);
        }
    }

    void aPlayedFileIsTakenAsPlayedAndLeftInItsTime() {
        // A quarter every beat at 120 beats a minute, each up to 30 ms early or late.
        QRandomGenerator random(7);
        Notes played = notesEvery(480, {60, 62, 64, 65, 67}, 64, 40);
        for (auto& note : played) {
            note.start += random.bounded(-29, 30);
        }
        test::MidiFileBuilder builder;
        builder.timedTrack(u"Piano"_s, played);
        const QByteArray file = builder.build();
        const auto copy = midipreparation::prepared(file, QString(), {.played = false});
        QVERIFY(copy && copy->timing);
        QCOMPARE(copy->timing->kind, MidiTiming::Kind::played);
        QCOMPARE(noteStarts(copy->bytes), noteStarts(file));
    }

    void titlesFromFileNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("underscores") << u"/tmp/harp_harmony.mid"_s << u"Harp Harmony"_s;
        QTest::newRow("blanks and case kept")
            << u"/tmp/ Bach  BWV_1007 prelude .MIDI"_s << u"Bach BWV 1007 Prelude"_s;
        QTest::newRow("only the last extension") << u"a.b.mid"_s << u"A.b"_s;
        QTest::newRow("letters beyond ASCII") << u"ørsted_vals.mid"_s << u"Ørsted Vals"_s;
        QTest::newRow("quotes and Scheme stay as typed")
            << u"x\\\" #(system \"touch p\") %.mid"_s << u"X\\\" #(system \"touch P\") %"_s;
        QTest::newRow("only the last path component")
            << u"x\\\" #(system \"touch /tmp/p\") %.mid"_s << u"P\") %"_s;
        QTest::newRow("no name") << u"/tmp/.mid"_s << QString();
    }

    void titlesFromFileNames() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(ScoreTitle::readableFileName(path), title);
    }

    void theSongsOwnNameComesBeforeTheFileName_data() {
        QTest::addColumn<QByteArray>("firstTrack");
        QTest::addColumn<QString>("title");
        QTest::newRow("name of a first track without notes")
            << meta(0x03, "If You\x92re Going to the City") + endOfTrack
            << u"If You’re Going to the City"_s;
        QTest::newRow("generic name") << meta(0x03, "Tempo Track") + endOfTrack << u"City Blues"_s;
        QTest::newRow("numbered name") << meta(0x03, "Untitled 3") + endOfTrack << u"City Blues"_s;
        QTest::newRow("a track with notes names its instrument")
            << meta(0x03, "Honky-tonk Piano") + notes + endOfTrack << u"City Blues"_s;
    }

    void theSongsOwnNameComesBeforeTheFileName() {
        QFETCH(QByteArray, firstTrack);
        QFETCH(QString, title);
        QTemporaryDir directory;
        const QString path = directory.filePath(u"city_blues.mid"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header(1, 2) + chunk("MTrk", firstTrack) +
                   chunk("MTrk", meta(0x03, "Piano") + notes + endOfTrack));
        file.close();
        QCOMPARE(ScoreTitle::fromFileName().textFor(path), title);
    }
};

QTEST_GUILESS_MAIN(TestMidiPreparation)
#include "tst_midipreparation.moc"
