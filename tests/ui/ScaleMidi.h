#pragma once

#include <QByteArray>

namespace velmarto::test {

// A standard MIDI file that the real engines accept: one track of quarter notes running up and
// down the C major scale, repeated to the given number of 4/4 bars.
class ScaleMidi {
public:
    static QByteArray bytes(int bars = 2) {
        static constexpr char scale[] = {60, 62, 64, 65, 67, 69, 71, 72, 71, 69, 67, 65, 64, 62};
        QByteArray track;
        for (int note = 0; note < bars * 4; ++note) {
            const char pitch = scale[note % sizeof(scale)];
            // Delta 0, note on; delta 480 ticks (variable-length 0x83 0x60), note off.
            track.append(QByteArray::fromRawData("\x00\x90", 2)).append(pitch).append('\x50');
            track.append(QByteArray::fromRawData("\x83\x60\x80", 3)).append(pitch).append('\x00');
        }
        track.append(QByteArray::fromRawData("\x00\xff\x2f\x00", 4));

        QByteArray file = QByteArray::fromHex("4d546864000000060000000101e04d54726b");
        const auto length = quint32(track.size());
        for (int shift = 24; shift >= 0; shift -= 8) {
            file.append(char((length >> shift) & 0xff));
        }
        return file.append(track);
    }
};

} // namespace velmarto::test
