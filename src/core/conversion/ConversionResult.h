#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace velmarto {

// What a successful conversion hands back. The files live in the conversion's work directory and
// outlive the result.
struct ConversionResult {
    QUrl pdfURL{};
    std::optional<QUrl> musicXMLURL{};
    std::optional<QUrl> lilypondURL{};
    QString log{};
};

} // namespace velmarto
