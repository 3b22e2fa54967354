#pragma once

#include <QUrl>

#include <functional>

namespace velmarto {

// The stages a conversion passes through, in this order. "Fast" has no converting stage: MuseScore
// engraves straight from its import.
enum class ConversionStage { importing, converting, engraving };

// What a running conversion tells its caller. Both are called on the conversion's own threads,
// never on the caller's, so a receiver that lives on another thread queues what it does.
struct ConversionProgress {
    std::function<void(ConversionStage stage)> stageEntered{};
    // "Best" only: MuseScore's own engraving of the same import, complete, while LilyPond's is
    // still to come. Without a receiver MuseScore writes no draft.
    std::function<void(const QUrl& pdf)> draftReady{};
};

} // namespace velmarto
