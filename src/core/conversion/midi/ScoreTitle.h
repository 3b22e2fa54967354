#pragma once

#include <QString>

namespace velmarto {

// Which title a score gets: one made from the MIDI file's name (the default), one the user
// typed, or none.
class ScoreTitle {
public:
    static ScoreTitle fromFileName() { return ScoreTitle(Source::fileName, {}); }
    static ScoreTitle custom(QString text) { return ScoreTitle(Source::custom, std::move(text)); }
    static ScoreTitle none() { return ScoreTitle(Source::none, {}); }

    // The title's text for this MIDI file; empty for a score without a title.
    QString textFor(const QString& midiPath) const;

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
