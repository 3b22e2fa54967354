#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

namespace velmarto {

// Turns the installer's output, chunk by chunk as the pipe delivers it, into the text the log
// shows. A character or a marker may be split anywhere between chunks: the bytes of an
// unfinished character and text that may still become a marker wait for the next chunk, and
// everything else is given out at once. Bytes that are not UTF-8 become U+FFFD.
class InstallerOutputDecoder {
public:
    // The markers are removed in this order; which of them were seen is remembered.
    explicit InstallerOutputDecoder(QStringList markers);

    QString decode(QByteArrayView chunk);
    // At the end of the output: whatever was still waiting.
    QString finish();

    bool saw(const QString& marker) const { return m_seen.contains(marker); }

private:
    QString withoutMarkers(QString text);
    qsizetype possibleMarkerStart(const QString& text) const;

    QStringList m_markers;
    QByteArray m_unfinishedCharacter;
    QString m_possibleMarker;
    QSet<QString> m_seen;
};

} // namespace velmarto
