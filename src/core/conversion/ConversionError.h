#pragma once

#include <QString>

namespace velmarto {

// A failed pipeline step: which stage failed and what went wrong, usually followed by the
// transcript so far so that the engine's own complaint reaches the user.
class ConversionError {
public:
    ConversionError(QString stage, QString detail);

    const QString& stage() const { return m_stage; }
    const QString& detail() const { return m_detail; }
    QString description() const;

    friend bool operator==(const ConversionError&, const ConversionError&) = default;

private:
    QString m_stage;
    QString m_detail;
};

} // namespace velmarto
