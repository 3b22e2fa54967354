#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace velmarto {

// Asks the user for a file to open or a place to save. The answer may arrive after the call
// returns; it is empty when the user cancels.
class FileChooser {
public:
    using Answer = std::function<void(const std::optional<QUrl>& chosen)>;

    virtual ~FileChooser() = default;

    virtual void chooseFileToOpen(const QStringList& nameFilters, Answer answer) = 0;
    virtual void chooseSaveDestination(const QString& suggestedName, const QStringList& nameFilters,
                                       Answer answer) = 0;
};

} // namespace velmarto
