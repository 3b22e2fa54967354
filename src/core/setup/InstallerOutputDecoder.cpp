#include "core/setup/InstallerOutputDecoder.h"

#include <utility>

namespace velmarto {

namespace {

// How many bytes at the end belong to a UTF-8 sequence that the next chunk has to finish.
qsizetype unfinishedSequenceLength(QByteArrayView bytes) {
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        qsizetype length = 1;
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
        }
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

InstallerOutputDecoder::InstallerOutputDecoder(QStringList markers)
    : m_markers(std::move(markers)) {}

QString InstallerOutputDecoder::decode(QByteArrayView chunk) {
    m_unfinishedCharacter.append(chunk);
    const qsizetype unfinished = unfinishedSequenceLength(m_unfinishedCharacter);
    const qsizetype complete = m_unfinishedCharacter.size() - unfinished;
    QString text =
        m_possibleMarker + QString::fromUtf8(QByteArrayView(m_unfinishedCharacter).first(complete));
    m_unfinishedCharacter.remove(0, complete);

    text = withoutMarkers(std::move(text));
    const qsizetype held = possibleMarkerStart(text);
    m_possibleMarker = text.sliced(held);
    text.truncate(held);
    return text;
}

QString InstallerOutputDecoder::finish() {
    QString rest = withoutMarkers(std::exchange(m_possibleMarker, {}) +
                                  QString::fromUtf8(m_unfinishedCharacter));
    m_unfinishedCharacter.clear();
    return rest;
}

QString InstallerOutputDecoder::withoutMarkers(QString text) {
    for (const QString& marker : std::as_const(m_markers)) {
        if (text.contains(marker)) {
            m_seen.insert(marker);
        }
        text.remove(marker);
    }
    return text;
}

// Where the longest ending of the text that begins some marker starts; the text's length when
// no ending does.
qsizetype InstallerOutputDecoder::possibleMarkerStart(const QString& text) const {
    qsizetype longest = 0;
    for (const QString& marker : m_markers) {
        for (qsizetype length = std::min(marker.size() - 1, text.size()); length > longest;
             --length) {
            if (text.endsWith(QStringView(marker).first(length))) {
                longest = length;
                break;
            }
        }
    }
    return text.size() - longest;
}

} // namespace velmarto
