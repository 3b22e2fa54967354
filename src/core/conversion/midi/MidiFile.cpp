#include "core/conversion/midi/MidiFile.h"

#include "core/conversion/midi/MidiTrackReader.h"

#include <QtEndian>

#include <algorithm>

namespace velmarto {

namespace {

constexpr qsizetype chunkHeaderSize = 8;

quint32 readBigEndian32(QByteArrayView bytes) {
    return qFromBigEndian<quint32>(bytes.data());
}

void appendChunk(QByteArray& out, QByteArrayView type, QByteArrayView data) {
    out += type;
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    out += QByteArrayView(length, 4);
    out += data;
}

bool isWellFormedTrack(QByteArrayView track) {
    MidiTrackReader reader(track);
    while (reader.readNext()) {
    }
    return !reader.hasError();
}

} // namespace

std::optional<MidiFile> MidiFile::parse(QByteArrayView bytes) {
    if (bytes.size() < chunkHeaderSize || !bytes.startsWith("MThd")) {
        return std::nullopt;
    }
    const quint32 headerLength = readBigEndian32(bytes.sliced(4, 4));
    if (headerLength < 6 || headerLength > quint32(bytes.size() - chunkHeaderSize)) {
        return std::nullopt;
    }
    MidiFile file;
    file.m_header = bytes.sliced(chunkHeaderSize, headerLength).toByteArray();
    if (file.format() > 2) {
        return std::nullopt;
    }

    qsizetype position = chunkHeaderSize + headerLength;
    while (bytes.size() - position >= chunkHeaderSize) {
        const quint32 length = readBigEndian32(bytes.sliced(position + 4, 4));
        if (length > quint32(bytes.size() - position - chunkHeaderSize)) {
            return std::nullopt;
        }
        Chunk chunk{bytes.sliced(position, 4).toByteArray(),
                    bytes.sliced(position + chunkHeaderSize, length).toByteArray()};
        if (chunk.isTrack() && !isWellFormedTrack(chunk.data)) {
            return std::nullopt;
        }
        file.m_chunks.append(std::move(chunk));
        position += chunkHeaderSize + length;
    }
    // Fewer tracks than the header announces means the file was cut short.
    const auto tracks = std::count_if(file.m_chunks.cbegin(), file.m_chunks.cend(),
                                      [](const Chunk& chunk) { return chunk.isTrack(); });
    if (tracks < file.declaredTrackCount()) {
        return std::nullopt;
    }
    file.m_trailer = bytes.sliced(position).toByteArray();
    return file;
}

QByteArray MidiFile::serialize() const {
    QByteArray out;
    appendChunk(out, "MThd", m_header);
    for (const Chunk& chunk : m_chunks) {
        appendChunk(out, chunk.type, chunk.data);
    }
    out += m_trailer;
    return out;
}

int MidiFile::format() const {
    return (quint8(m_header[0]) << 8) | quint8(m_header[1]);
}

int MidiFile::declaredTrackCount() const {
    return (quint8(m_header[2]) << 8) | quint8(m_header[3]);
}

bool MidiFile::insertTrack(qsizetype chunkIndex, const QByteArray& track) {
    const int count = declaredTrackCount();
    if (count >= 0xffff) {
        return false;
    }
    m_header[0] = '\0';
    m_header[1] = char(std::max(format(), 1));
    m_header[2] = char((count + 1) >> 8);
    m_header[3] = char((count + 1) & 0xff);
    m_chunks.insert(chunkIndex, Chunk{.type = "MTrk", .data = track});
    return true;
}

std::optional<int> MidiFile::ticksPerQuarter() const {
    const int division = (quint8(m_header[4]) << 8) | quint8(m_header[5]);
    if ((division & 0x8000) != 0 || division == 0) {
        return std::nullopt;
    }
    return division;
}

} // namespace velmarto
