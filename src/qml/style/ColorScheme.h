#pragma once

#include <QPalette>
#include <QString>

#include <optional>

namespace velmarto {

enum class ColorScheme { light, dark };

// The scheme a stored appearance forces: "light" and "dark" exactly; every other text, "system"
// included, forces none and the window follows the desktop.
std::optional<ColorScheme> forcedColorScheme(const QString& appearance);

// Every role of the standard controls in one scheme. Both schemes tint with the accent, which
// is the same in light and dark.
QPalette schemePalette(ColorScheme scheme);

// The accent as the standard controls' highlight, over whatever palette the platform provides.
QPalette accentTint();

} // namespace velmarto
