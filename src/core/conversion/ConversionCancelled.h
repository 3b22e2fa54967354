#pragma once

namespace velmarto {

// The conversion was stopped on request before it finished; its engines were stopped with it.
struct ConversionCancelled {
    friend bool operator==(const ConversionCancelled&, const ConversionCancelled&) = default;
};

} // namespace velmarto
