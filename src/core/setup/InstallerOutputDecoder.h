#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace velmarto {

// Turns the installer's output, chunk by chunk as the pipe delivers it, into the text the log
// shows. A character or a marker may be split anywhere between chunks: the bytes of an
// unfinished character and text that may still become a marker wait for the next chunk, and
// everything else is given out at once. Bytes that are not UTF-8 become U+FFFD.
class InstallerOutputDecoder {
public:
    // The markers are removed in this order; seeing the missing-manager marker is remembered.
    InstallerOutputDecoder(QStringList markers, QString missingManagerMarker);

    QString decode(QByteArrayView chunk);
    // At the end of the output: whatever was still waiting.
    QString finish();

    bool sawMissingManagerMarker() const { return m_sawMissingManagerMarker; }

private:
    QString withoutMarkers(QString text);
    qsizetype possibleMarkerStart(const QString& text) const;

    QStringList m_markers;
    QString m_missingManagerMarker;
    QByteArray m_unfinishedCharacter;
    QString m_possibleMarker;
    bool m_sawMissingManagerMarker = false;
};

} // namespace velmarto
