#include "core/conversion/ImportOptions.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <functional>

namespace velmarto::importoptions {

using namespace Qt::StringLiterals;

namespace {

// The major keys by their sharps, from seven flats to seven sharps, and their relative minors.
constexpr std::array<QStringView, 15> majorKeys = {u"Cb", u"Gb", u"Db", u"Ab", u"Eb",
                                                   u"Bb", u"F",  u"C",  u"G",  u"D",
                                                   u"A",  u"E",  u"B",  u"F#", u"C#"};
constexpr std::array<QStringView, 15> minorKeys = {u"Abm", u"Ebm", u"Bbm", u"Fm",  u"Cm",
                                                   u"Gm",  u"Dm",  u"Am",  u"Em",  u"Bm",
                                                   u"F#m", u"C#m", u"G#m", u"D#m", u"A#m"};
constexpr int flatsOfFirstKey = -7;

// More tracks than any MIDI file of music holds; a range beyond it is a typing slip.
constexpr int highestTrack = 999;
constexpr int mostBeatsPerBar = 32;

std::optional<trackkey::Signature> keyNamed(const QString& name) {
    for (std::size_t index = 0; index < majorKeys.size(); ++index) {
        const int sharps = int(index) + flatsOfFirstKey;
        if (name.compare(majorKeys.at(index), Qt::CaseInsensitive) == 0) {
            return trackkey::Signature{.sharps = sharps, .mode = 0};
        }
        if (name.compare(minorKeys.at(index), Qt::CaseInsensitive) == 0) {
            return trackkey::Signature{.sharps = sharps, .mode = 1};
        }
    }
    return std::nullopt;
}

std::optional<TimeSignature> timeSignatureNamed(const QString& text) {
    static const QRegularExpression pattern(u"^([0-9]{1,2})/([0-9]{1,2})$"_s);
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int numerator = match.captured(1).toInt();
    const int denominator = match.captured(2).toInt();
    const bool isPowerOfTwo = denominator > 0 && (denominator & (denominator - 1)) == 0;
    if (numerator < 1 || numerator > mostBeatsPerBar || !isPowerOfTwo || denominator > 32) {
        return std::nullopt;
    }
    return TimeSignature{.numerator = numerator, .denominator = denominator};
}

std::optional<QList<int>> tracksNamed(const QString& text) {
    static const QRegularExpression item(u"^([0-9]{1,3})(?:-([0-9]{1,3}))?$"_s);
    QList<int> tracks;
    for (const QString& part : text.split(u',')) {
        const auto match = item.match(part.trimmed());
        if (!match.hasMatch()) {
            return std::nullopt;
        }
        const int first = match.captured(1).toInt();
        const int last = match.captured(2).isEmpty() ? first : match.captured(2).toInt();
        if (first < 1 || last < first || last > highestTrack) {
            return std::nullopt;
        }
        for (int track = first; track <= last; ++track) {
            tracks.append(track);
        }
    }
    std::ranges::sort(tracks);
    tracks.erase(std::unique(tracks.begin(), tracks.end()), tracks.end());
    return tracks;
}

// "auto, yes or no" from "auto|yes|no".
QString spoken(const QString& syntax) {
    QStringList values = syntax.split(u'|');
    const QString last = values.takeLast();
    return values.join(u", "_s) + u" or "_s + last;
}

struct Reader {
    Option option;
    // False when the text is not one of the option's values.
    std::function<bool(ImportOptions&, const QString&)> read;
    // The usage message's description of the values, when the syntax says too little.
    QString expected{};
};

// Reads one of the listed values, in any case, into the member; the first value is "auto" and
// leaves the member empty when it is optional.
template <typename Value>
std::function<bool(ImportOptions&, const QString&)>
oneOf(std::optional<Value> ImportOptions::*member,
      QList<std::pair<QString, std::optional<Value>>> values) {
    return [member, values](ImportOptions& options, const QString& text) {
        for (const auto& [name, value] : values) {
            if (text.compare(name, Qt::CaseInsensitive) == 0) {
                options.*member = value;
                return true;
            }
        }
        return false;
    };
}

QStringList keyChoices() {
    QStringList choices = {u"auto"_s, u"file"_s};
    for (const QStringView key : majorKeys) {
        choices << key.toString();
    }
    for (const QStringView key : minorKeys) {
        choices << key.toString();
    }
    return choices;
}

const QList<Reader>& readers() {
    using Tuplets = ImportOptions::Tuplets;
    using Swing = ImportOptions::Swing;
    static const QList<Reader> list = {
        {
            .option = {u"played"_s,
                       u"auto|yes|no"_s,
                       u"Whether the file was played on a keyboard, and is first quantised "
                       u"into bars and two staves, or sequenced (default: auto, told from the "
                       u"notes' timing)."_s,
                       {u"auto"_s, u"yes"_s, u"no"_s}},
            .read = oneOf<bool>(&ImportOptions::played,
                                {{u"auto"_s, std::nullopt}, {u"yes"_s, true}, {u"no"_s, false}}),
        },
        {
            .option = {u"quantize"_s,
                       u"auto|4|8|16|32|64"_s,
                       u"The shortest note written: 4 a quarter, 8 an eighth ... 64 a "
                       u"sixty-fourth (default: auto, MuseScore's choice)."_s,
                       {u"auto"_s, u"4"_s, u"8"_s, u"16"_s, u"32"_s, u"64"_s}},
            .read = oneOf<int>(&ImportOptions::shortestNote, {{u"auto"_s, std::nullopt},
                                                              {u"4"_s, 4},
                                                              {u"8"_s, 8},
                                                              {u"16"_s, 16},
                                                              {u"32"_s, 32},
                                                              {u"64"_s, 64}}),
        },
        {
            .option = {u"voices"_s,
                       u"auto|1|2|3|4"_s,
                       u"The most voices on one staff (default: auto, up to four)."_s,
                       {u"auto"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s}},
            .read = oneOf<int>(
                &ImportOptions::voices,
                {{u"auto"_s, std::nullopt}, {u"1"_s, 1}, {u"2"_s, 2}, {u"3"_s, 3}, {u"4"_s, 4}}),
        },
        {
            .option = {u"tuplets"_s,
                       u"auto|none|triplets|all"_s,
                       u"Which tuplets are written: none, triplets only, or all kinds "
                       u"(default: auto)."_s,
                       {u"auto"_s, u"none"_s, u"triplets"_s, u"all"_s}},
            .read = oneOf<Tuplets>(&ImportOptions::tuplets, {{u"auto"_s, std::nullopt},
                                                             {u"none"_s, Tuplets::none},
                                                             {u"triplets"_s, Tuplets::triplets},
                                                             {u"all"_s, Tuplets::all}}),
        },
        {
            .option = {u"split-piano"_s,
                       u"auto|yes|no"_s,
                       u"Whether a piano track goes on two staves (default: auto, when its "
                       u"chords span more than an octave)."_s,
                       {u"auto"_s, u"yes"_s, u"no"_s}},
            .read = oneOf<bool>(&ImportOptions::splitPiano,
                                {{u"auto"_s, std::nullopt}, {u"yes"_s, true}, {u"no"_s, false}}),
        },
        {
            .option = {u"key"_s, u"auto|file|C|Gm|F#|Bbm..."_s,
                       u"The key signature: auto (the key that suits each track's notes), file "
                       u"(the file's own), or a key such as C, Gm, F# or Bbm."_s,
                       keyChoices()},
            .read =
                [](ImportOptions& options, const QString& text) {
                    if (text.compare(u"auto"_s, Qt::CaseInsensitive) == 0) {
                        options.key = std::monostate{};
                    } else if (text.compare(u"file"_s, Qt::CaseInsensitive) == 0) {
                        options.key = ImportOptions::AsInFile{};
                    } else if (const auto key = keyNamed(text)) {
                        options.key = *key;
                    } else {
                        return false;
                    }
                    return true;
                },
            .expected = u"auto, file or a key such as C, Gm, F# or Bbm"_s,
        },
        {
            .option = {u"meter"_s,
                       u"auto|file|3/4|6/8..."_s,
                       u"The time signature: auto (found from the notes when played), file (the "
                       u"file's own), or one such as 3/4 or 6/8."_s,
                       {u"auto"_s, u"file"_s, u"2/4"_s, u"3/4"_s, u"4/4"_s, u"2/2"_s, u"3/8"_s,
                        u"6/8"_s, u"9/8"_s, u"12/8"_s, u"5/4"_s, u"7/8"_s}},
            .read =
                [](ImportOptions& options, const QString& text) {
                    if (text.compare(u"auto"_s, Qt::CaseInsensitive) == 0) {
                        options.meter = std::monostate{};
                    } else if (text.compare(u"file"_s, Qt::CaseInsensitive) == 0) {
                        options.meter = ImportOptions::AsInFile{};
                    } else if (const auto meter = timeSignatureNamed(text)) {
                        options.meter = *meter;
                    } else {
                        return false;
                    }
                    return true;
                },
            .expected = u"auto, file or a time signature such as 3/4 or 6/8 (at most 32 beats "
                        u"of a whole, half ... 32nd)"_s,
        },
        {
            .option = {u"tracks"_s,
                       u"1,3-5"_s,
                       u"Import only these tracks, numbered from 1 among those that hold notes "
                       u"(default: all)."_s,
                       {}},
            .read =
                [](ImportOptions& options, const QString& text) {
                    const auto tracks = tracksNamed(text);
                    if (tracks) {
                        options.tracks = *tracks;
                    }
                    return tracks.has_value();
                },
            .expected = u"track numbers from 1 to 999 such as 1,3-5"_s,
        },
        {
            .option = {u"swing"_s,
                       u"none|swing|shuffle"_s,
                       u"Write swung eighths straight: swing (2:1) or shuffle (3:1) (default: "
                       u"none)."_s,
                       {u"none"_s, u"swing"_s, u"shuffle"_s}},
            .read =
                [](ImportOptions& options, const QString& text) {
                    static const QList<std::pair<QString, Swing>> values = {
                        {u"none"_s, Swing::none},
                        {u"swing"_s, Swing::swing},
                        {u"shuffle"_s, Swing::shuffle}};
                    for (const auto& [name, value] : values) {
                        if (text.compare(name, Qt::CaseInsensitive) == 0) {
                            options.swing = value;
                            return true;
                        }
                    }
                    return false;
                },
        },
    };
    return list;
}

} // namespace

const QList<Option>& all() {
    static const QList<Option> options = [] {
        QList<Option> list;
        for (const Reader& reader : readers()) {
            list.append(reader.option);
        }
        return list;
    }();
    return options;
}

std::optional<Option> named(const QString& name) {
    const auto found = std::ranges::find(all(), name, &Option::name);
    return found == all().end() ? std::nullopt : std::optional(*found);
}

std::expected<void, QString> set(ImportOptions& options, const QString& name,
                                 const QString& value) {
    const auto reader =
        std::ranges::find(readers(), name, [](const Reader& each) { return each.option.name; });
    if (reader == readers().end()) {
        return std::unexpected(u"unknown import option '%1'"_s.arg(name));
    }
    if (!reader->read(options, value)) {
        const QString expected =
            reader->expected.isEmpty() ? spoken(reader->option.syntax) : reader->expected;
        return std::unexpected(u"--%1 takes %2, not '%3'"_s.arg(name, expected, value));
    }
    return {};
}

} // namespace velmarto::importoptions
