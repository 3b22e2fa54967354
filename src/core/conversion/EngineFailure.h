#pragma once

#include "core/conversion/ConversionError.h"

#include <QString>

namespace velmarto {

// An engine run that did not return a transcript: it failed (as a ConversionError of its stage),
// or it was stopped because it took too long or the conversion was cancelled. A stopped run keeps
// the transcript it had written so far.
class EngineFailure : public ConversionError {
public:
    enum class Reason { failed, timedOut, cancelled };

    EngineFailure(ConversionError error, Reason reason = Reason::failed, QString transcript = {})
        : ConversionError(std::move(error))
        , m_reason(reason)
        , m_transcript(std::move(transcript)) {}

    Reason reason() const { return m_reason; }
    const QString& transcript() const { return m_transcript; }

private:
    Reason m_reason;
    QString m_transcript;
};

} // namespace velmarto
