#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace velmarto {

// A Standard MIDI File split into its chunks. Parsing checks the header, every chunk length and
// every event of every track; anything it cannot account for makes the whole file unparsable.
// Unknown chunks and bytes after the last chunk are kept, so serialize() gives back the input
// byte for byte until a track is changed.
class MidiFile {
public:
    struct Chunk {
        QByteArray type;
        QByteArray data;

        bool isTrack() const { return type == "MTrk"; }
    };

    static std::optional<MidiFile> parse(QByteArrayView bytes);
    QByteArray serialize() const;

    // 0: one track; 1: simultaneous tracks; 2: independent patterns.
    int format() const;
    // The number of tracks the header announces; parse() rejects a file with fewer.
    int declaredTrackCount() const;
    // The ticks of a quarter note; nothing when the file counts time in SMPTE frames.
    std::optional<int> ticksPerQuarter() const;
    QList<Chunk>& chunks() { return m_chunks; }
    // Inserts a track chunk before the chunk at that index and counts it in the header; a file of
    // one track becomes one of simultaneous tracks. False when the header can count no more.
    bool insertTrack(qsizetype chunkIndex, const QByteArray& track);
    const QList<Chunk>& chunks() const { return m_chunks; }

private:
    QByteArray m_header;
    QList<Chunk> m_chunks;
    QByteArray m_trailer;
};

} // namespace velmarto
