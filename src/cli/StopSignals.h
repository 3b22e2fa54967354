#pragma once

#include "core/conversion/CancellationToken.h"

namespace velmarto {

// SIGINT, SIGTERM and SIGHUP cancel the running conversion instead of ending velmarto-cli at once,
// so that it stops every engine it started and writes no half-finished file. One instance, in main.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    const CancellationToken* cancellation() const;
    // 128 plus the signal's number once one arrived, the way a shell reports it; else status.
    int exitStatus(int status) const;
};

} // namespace velmarto
