#include "core/conversion/ConversionEngine.h"

#include <QHash>

namespace velmarto {

using namespace Qt::StringLiterals;

QString rawValue(ConversionEngine engine) {
    switch (engine) {
    case ConversionEngine::both:
        return u"MuseScore + LilyPond (best quality)"_s;
    case ConversionEngine::museScoreOnly:
        return u"MuseScore only (fast)"_s;
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<ConversionEngine> conversionEngineFromRawValue(const QString& text) {
    for (ConversionEngine engine : allConversionEngines) {
        if (rawValue(engine) == text) {
            return engine;
        }
    }
    return std::nullopt;
}

size_t qHash(ConversionEngine engine, size_t seed) noexcept {
    return ::qHash(rawValue(engine), seed);
}

} // namespace velmarto
