#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace velmarto {

Q_NAMESPACE

// The quality preset of a conversion. Its raw value is the preset's long title; the stored
// preference uses other texts ("both", "fast") and is mapped by the conversion screen.
enum class ConversionEngine { both, museScoreOnly };
Q_ENUM_NS(ConversionEngine)

inline constexpr std::array allConversionEngines{ConversionEngine::both,
                                                 ConversionEngine::museScoreOnly};

QString rawValue(ConversionEngine engine);
std::optional<ConversionEngine> conversionEngineFromRawValue(const QString& rawValue);
size_t qHash(ConversionEngine engine, size_t seed = 0) noexcept;

} // namespace velmarto
