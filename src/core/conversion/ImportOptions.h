#pragma once

#include "core/conversion/midi/Performance.h"
#include "core/conversion/midi/TrackKey.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <variant>

namespace velmarto {

// How a MIDI file is read into a score: the choices a user can make about MuseScore's import and
// the steps in front of it. An empty choice leaves the decision to the file and the import.
struct ImportOptions {
    enum class Tuplets { none, triplets, all };
    enum class Swing { none, swing, shuffle };
    // Whatever the file itself states, with nothing detected or guessed.
    struct AsInFile {
        friend bool operator==(const AsInFile&, const AsInFile&) = default;
    };
    using Key = std::variant<std::monostate, AsInFile, trackkey::Signature>;
    using Meter = std::variant<std::monostate, AsInFile, TimeSignature>;

    // Whether the file was played on a keyboard, and is quantised into written music first, or
    // sequenced on a grid. Nothing: told from the file's onsets.
    std::optional<bool> played{};
    // The shortest note value MuseScore writes, as a fraction of a whole note (4, 8 ... 64).
    std::optional<int> shortestNote{};
    // The most voices a staff gets (1 to 4).
    std::optional<int> voices{};
    std::optional<Tuplets> tuplets{};
    // Whether a piano track goes on two staves.
    std::optional<bool> splitPiano{};
    Key key{};
    Meter meter{};
    // The tracks to import, numbered from 1 among the tracks that hold notes; empty: all.
    QList<int> tracks{};
    Swing swing = Swing::none;

    friend bool operator==(const ImportOptions&, const ImportOptions&) = default;
};

// The import options as text: their names, the values each takes, and the reading of a value.
// The command line and the window's stored preferences both go through here, so a value that
// reaches the engines has always been read by these rules.
namespace importoptions {

struct Option {
    // The command line's name ("quantize") and the preference's.
    QString name;
    // The values, as the help shows them ("auto|4|8|16|32|64").
    QString syntax;
    // One line on what it does.
    QString summary;
    // The values the window offers, the default first.
    QStringList choices;
};

const QList<Option>& all();
// The option of that name; nothing for an unknown name.
std::optional<Option> named(const QString& name);

// Reads the value into the options; the reason, fit for a usage message, when it is not one of
// the option's values (an unknown name included).
std::expected<void, QString> set(ImportOptions& options, const QString& name, const QString& value);

} // namespace importoptions

} // namespace velmarto
