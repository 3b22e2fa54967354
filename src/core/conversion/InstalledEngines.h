#pragma once

namespace velmarto {

// Which engines were found at their install locations when the disk was last asked.
struct InstalledEngines {
    bool museScore = false;
    bool musicxml2ly = false;
    bool lilypond = false;

    bool allReady() const { return museScore && musicxml2ly && lilypond; }
    friend bool operator==(const InstalledEngines&, const InstalledEngines&) = default;
};

} // namespace velmarto
