#pragma once

#include "ui/convert/FileChooser.h"

#include <QList>

#include <optional>

namespace velmarto::test {

// Stands in for the dialogs: every request is recorded and answered at once with the next
// scripted answer, or as a cancel when none is left.
class ScriptedFileChooser : public FileChooser {
public:
    struct Request {
        QString suggestedName;
        QStringList nameFilters;
    };

    void answerNext(const std::optional<QUrl>& chosen) { m_answers.append(chosen); }

    void chooseFileToOpen(const QStringList& nameFilters, Answer answer) override {
        m_requests.append({QString(), nameFilters});
        answer(m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst());
    }

    void chooseSaveDestination(const QString& suggestedName, const QStringList& nameFilters,
                               Answer answer) override {
        m_requests.append({suggestedName, nameFilters});
        answer(m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst());
    }

    const QList<Request>& requests() const { return m_requests; }

private:
    QList<std::optional<QUrl>> m_answers;
    QList<Request> m_requests;
};

} // namespace velmarto::test
