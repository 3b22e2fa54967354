#pragma once

namespace velmarto {

// Which engines are installed at the moment it was asked.
struct ToolStatus {
    bool museScore = false;
    bool musicxml2ly = false;
    bool lilypond = false;

    bool allReady() const { return museScore && musicxml2ly && lilypond; }
    friend bool operator==(const ToolStatus&, const ToolStatus&) = default;
};

} // namespace velmarto
