#pragma once

#include "qml/convert/ContentViewModel.h"

#include <QList>
#include <QObject>

#include <optional>

namespace velmarto::test {

// Stands in for the view's dialogs: every request of the model it is attached to is recorded and
// answered at once with the next scripted answer, or as a cancel when none is left.
class ScriptedFileChooser {
public:
    struct Request {
        QString suggestedName;
        QStringList nameFilters;
    };

    void attach(ContentViewModel* model) {
        QObject::connect(model, &ContentViewModel::openFileRequested, model,
                         [this, model](const QStringList& nameFilters) {
                             answer(model, {QString(), nameFilters});
                         });
        QObject::connect(
            model, &ContentViewModel::saveFileRequested, model,
            [this, model](const QUrl&, const QUrl& suggestedFile, const QStringList& nameFilters) {
                answer(model, {suggestedFile.fileName(), nameFilters});
            });
    }

    void answerNext(const std::optional<QUrl>& chosen) { m_answers.append(chosen); }

    const QList<Request>& requests() const { return m_requests; }

private:
    void answer(ContentViewModel* model, const Request& request) {
        m_requests.append(request);
        const std::optional<QUrl> chosen =
            m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
        if (chosen) {
            model->answerFileRequest(*chosen);
        } else {
            model->cancelFileRequest();
        }
    }

    QList<std::optional<QUrl>> m_answers;
    QList<Request> m_requests;
};

} // namespace velmarto::test
