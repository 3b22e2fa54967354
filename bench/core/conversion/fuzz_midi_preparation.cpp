// Feeds mutated MIDI files to the MIDI preparation and checks that it neither crashes nor hangs,
// and that whatever it writes is a well-formed file that a second preparation leaves alone.
// fuzz_midi_preparation_sanitized is the same driver under AddressSanitizer and UBSan.
//
//   fuzz_midi_preparation [ITERATIONS] [SEED_FOLDER] [RANDOM_SEED]

#include "core/conversion/midi/MidiFile.h"
#include "core/conversion/midi/MidiPreparation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

QByteArray mutated(const QByteArray& seed, QRandomGenerator& random) {
    QByteArray bytes = seed;
    const auto position = [&] { return qsizetype(random.bounded(quint32(bytes.size() + 1))); };
    const int rounds = 1 + int(random.bounded(8u));
    for (int round = 0; round < rounds && !bytes.isEmpty(); ++round) {
        switch (random.bounded(8u)) {
        case 0: // flip a bit
        {
            char& flipped = bytes[position() % bytes.size()];
            flipped = static_cast<char>(static_cast<quint8>(flipped) ^ (1U << random.bounded(8U)));
            break;
        }
        case 1: // overwrite a byte, favouring the values parsers trip on
        {
            static constexpr char interesting[] = {0x00,       0x7f,       char(0x80), char(0xf0),
                                                   char(0xf7), char(0xff), 0x2f,       0x10};
            bytes[position() % bytes.size()] =
                random.bounded(2u) ? interesting[random.bounded(8u)] : char(random.generate());
            break;
        }
        case 2: // truncate
            bytes.truncate(position());
            break;
        case 3: // insert random bytes
        {
            QByteArray noise(qsizetype(1 + random.bounded(16u)), Qt::Uninitialized);
            for (char& byte : noise) {
                byte = char(random.generate());
            }
            bytes.insert(position(), noise);
            break;
        }
        case 4: // delete a range
        {
            const qsizetype from = position();
            bytes.remove(from, qsizetype(random.bounded(32u)));
            break;
        }
        case 5: // inflate a chunk length
        {
            const qsizetype chunk = bytes.indexOf("MTrk", position() % bytes.size());
            if (chunk >= 0 && chunk + 8 <= bytes.size()) {
                const quint32 length = random.bounded(2u) ? 0xffffffffu : random.generate();
                for (int index = 0; index < 4; ++index) {
                    bytes[chunk + 4 + index] = char(length >> (24 - 8 * index));
                }
            }
            break;
        }
        case 6: // duplicate a slice
        {
            const qsizetype from = position() % bytes.size();
            bytes.insert(position(), bytes.mid(from, qsizetype(random.bounded(64u))));
            break;
        }
        default: // a run of continuation bytes, as in an endless variable-length number
            bytes.insert(position(), QByteArray(qsizetype(1 + random.bounded(8u)), char(0x81)));
            break;
        }
    }
    return bytes;
}

QByteArray randomBytes(QRandomGenerator& random) {
    QByteArray bytes(qsizetype(random.bounded(4096u)), Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(random.generate());
    }
    if (random.bounded(2u)) {
        bytes.prepend(QByteArray::fromHex("4d546864000000060001000201e04d54726b"));
    }
    return bytes;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int iterations = arguments.size() > 1 ? arguments[1].toInt() : 20000;
    const QString seedFolder =
        arguments.size() > 2 ? arguments[2] : u"/usr/share/games/openttd/baseset/openmsx"_s;
    QRandomGenerator random(arguments.size() > 3 ? arguments[3].toUInt() : 1u);

    QList<QByteArray> seeds;
    for (const QFileInfo& entry :
         QDir(seedFolder).entryInfoList({u"*.mid"_s, u"*.midi"_s}, QDir::Files)) {
        QFile file(entry.filePath());
        if (file.open(QIODevice::ReadOnly)) {
            seeds.append(file.readAll());
        }
    }
    if (seeds.isEmpty()) {
        std::fprintf(stderr, "fuzz_midi_preparation: no MIDI files in %s\n",
                     qPrintable(seedFolder));
        return 1;
    }

    const auto parsable = std::count_if(seeds.cbegin(), seeds.cend(), [](const QByteArray& seed) {
        return midipreparation::prepared(seed, u"Title"_s).has_value();
    });
    const ImportOptions everyEdit{
        .played = false,
        .shortestNote = 8,
        .splitPiano = true,
        .key = trackkey::Signature{.sharps = -2, .mode = 1},
        .meter = TimeSignature{.numerator = 3, .denominator = 4},
        .tracks = {1, 3},
    };
    int prepared = 0;
    int failures = 0;
    qint64 slowestNanoseconds = 0;
    qint64 totalBytes = 0;
    for (int iteration = 0; iteration < iterations; ++iteration) {
        const QByteArray input =
            iteration % 10 == 9 ? randomBytes(random)
                                : mutated(seeds[random.bounded(quint32(seeds.size()))], random);
        totalBytes += input.size();
        QElapsedTimer timer;
        timer.start();
        const auto copy = midipreparation::prepared(input, u"Fuzz Title ♪"_s);
        slowestNanoseconds = std::max(slowestNanoseconds, timer.nsecsElapsed());
        if (!copy) {
            continue;
        }
        ++prepared;
        const auto again = midipreparation::prepared(copy->bytes, u"Fuzz Title ♪"_s);
        // Every edit the import options make on the file, which must leave it well-formed.
        const auto edited = midipreparation::prepared(input, u"Fuzz Title ♪"_s, everyEdit);
        if (!MidiFile::parse(copy->bytes) || !again || again->bytes != copy->bytes || !edited ||
            !MidiFile::parse(edited->bytes)) {
            ++failures;
            QFile keep(u"fuzz-failure-%1.mid"_s.arg(iteration));
            if (keep.open(QIODevice::WriteOnly)) {
                keep.write(input);
            }
        }
    }
    std::printf("seed files: %lld from %s, %lld of them well-formed\n",
                static_cast<long long>(seeds.size()), qPrintable(seedFolder),
                static_cast<long long>(parsable));
    std::printf("inputs: %d (%lld bytes), prepared: %d, rejected as malformed: %d\n", iterations,
                static_cast<long long>(totalBytes), prepared, iterations - prepared);
    std::printf("slowest single preparation: %.3f ms\n",
                static_cast<double>(slowestNanoseconds) / 1e6);
    std::printf("outputs not well-formed or not stable: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
