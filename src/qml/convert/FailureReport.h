#pragma once

#include "core/conversion/Converter.h"

#include <QString>

namespace velmarto {

// A failed conversion as the Convert tab tells it: the stage that failed, one plain sentence when
// the cause is known, and the whole text, the engines' own words included, for whoever asks for
// the details.
struct FailureReport {
    QString stageLine;
    // Empty when the engines' words are all there is to go on.
    QString cause;
    QString details;

    // midiPath is the file that was converted: a file that is no MIDI at all tells a damaged
    // input from an engine's own fault.
    static FailureReport of(const ConversionFailure& failure, const QString& midiPath);
};

} // namespace velmarto
