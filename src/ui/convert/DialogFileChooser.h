#pragma once

#include "ui/convert/FileChooser.h"

#include <QObject>
#include <QtQmlIntegration>

namespace velmarto {

// The chooser the running application uses: it asks the screen to show its modal file dialogs and
// passes their answer back. Only one dialog is open at a time, so one pending answer is enough.
class DialogFileChooser : public QObject, public FileChooser {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the screen model")

public:
    explicit DialogFileChooser(QObject* parent = nullptr);

    void chooseFileToOpen(const QStringList& nameFilters, Answer answer) override;
    void chooseSaveDestination(const QString& suggestedName, const QStringList& nameFilters,
                               Answer answer) override;

    Q_INVOKABLE void accept(const QUrl& chosen);
    Q_INVOKABLE void cancel();

signals:
    void openRequested(const QStringList& nameFilters);
    void saveRequested(const QUrl& folder, const QUrl& suggestedFile,
                       const QStringList& nameFilters);

private:
    void answerWith(const std::optional<QUrl>& chosen);

    Answer m_pending;
};

} // namespace velmarto
