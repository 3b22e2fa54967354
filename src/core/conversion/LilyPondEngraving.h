#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace velmarto {

// What Velmarto adds to musicxml2ly's LilyPond source so that the score engraves well: its title,
// instrument names that fit the page and LilyPond's own line and page breaks. Every text it writes
// is a quoted literal, so no name or title can end its string and run Scheme code.
class LilyPondEngraving {
public:
    // title: the score's title, or nothing for a score without one. names and shortNames: the
    // parts' names as musicxml2ly prints them on the first and on later systems.
    LilyPondEngraving(std::optional<QString> title, QStringList names, QStringList shortNames);

    // Goes before the music. Turns MuseScore's forced breaks into nothing, prints "Instrument,
    // Track" on two lines (long words wrapped) and defines the measure for the indents.
    QString prelude() const;

    // Goes at the end, after musicxml2ly's own header and paper blocks, whose settings it
    // replaces: the title, no tagline, a short last system left short, and indents that LilyPond
    // measures from the real names in the real font.
    QString closing() const;

    // A double-quoted literal that reads back as the text in LilyPond and in Scheme: backslash
    // and quote escaped, line breaks and other control characters as blanks.
    static QString quoted(QStringView text);

private:
    static QString indentSetting(const char* variable, const QStringList& names);

    std::optional<QString> m_title;
    QStringList m_names;
    QStringList m_shortNames;
};

} // namespace velmarto
