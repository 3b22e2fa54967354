#include "core/conversion/ConversionError.h"

namespace velmarto {

using namespace Qt::StringLiterals;

ConversionError::ConversionError(QString stage, QString detail)
    : m_stage(std::move(stage))
    , m_detail(std::move(detail)) {}

QString ConversionError::description() const {
    return m_stage + u" failed:\n"_s + m_detail;
}

} // namespace velmarto
