#pragma once

#include <QString>

namespace velmarto {

// Which title a score gets: the song's own (the default: the name of a first track without notes,
// which is the sequence's name, or else one made from the file's name), one the user typed, or
// none.
class ScoreTitle {
public:
    static ScoreTitle fromFileName() { return ScoreTitle(Source::fileName, {}); }
    static ScoreTitle custom(QString text) { return ScoreTitle(Source::custom, std::move(text)); }
    static ScoreTitle none() { return ScoreTitle(Source::none, {}); }

    // The title's text for this MIDI file; empty for a score without a title.
    QString textFor(const QString& midiPath) const;

    // The name a MIDI file gives its song: the name of its first track when that track holds no
    // notes and the name says more than "Untitled" or "Tempo Track". Nothing otherwise.
    static QString songTitleIn(const QString& midiPath);

    // "harp_harmony.mid" gives "Harp Harmony": underscores become blanks, runs of blanks
    // shrink to one and each word starts with a capital. Other characters stay as typed.
    static QString readableFileName(const QString& midiPath);

private:
    enum class Source { fileName, custom, none };

    ScoreTitle(Source source, QString text)
        : m_source(source)
        , m_text(std::move(text)) {}

    Source m_source;
    QString m_text;
};

} // namespace velmarto
