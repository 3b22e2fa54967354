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
    // The bars in which LilyPond found a voice that did not fill its bar: from there on that
    // voice's notes print at the wrong time. Only the LilyPond path counts them.
    int failedBarChecks = 0;
};

} // namespace velmarto
