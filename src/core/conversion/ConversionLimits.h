#pragma once

#include "core/conversion/CancellationToken.h"

#include <chrono>

namespace velmarto {

// What may end a conversion early. An engine that is stopped takes every process it started
// with it.
struct ConversionLimits {
    // Checked several times a second while an engine runs; none means the conversion cannot be
    // cancelled.
    const CancellationToken* cancellation = nullptr;
    // The longest one engine run may take; zero means no limit.
    std::chrono::milliseconds engineTimeout{0};
};

} // namespace velmarto
