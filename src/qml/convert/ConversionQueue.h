#pragma once

#include "core/conversion/CancellationToken.h"
#include "core/conversion/Converter.h"
#include "qml/convert/FailureReport.h"

#include <QAbstractListModel>
#include <QList>
#include <QUrl>
#include <QtQmlIntegration>

#include <expected>
#include <functional>
#include <memory>
#include <optional>

namespace velmarto {

// Several MIDI files taken at once, one row each with its state and outcome, converted one after
// another by the job the owner hands to start(). One at a time keeps every conversion as fast as
// a single one, each with its own stages to show, and lets a cancel stop the batch at once. The
// rows stay as they are while a run goes on.
class ConversionQueue : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the Convert tab's model")

    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(int selectedRow READ selectedRow WRITE select NOTIFY selectedRowChanged)
    Q_PROPERTY(int convertedCount READ convertedCount NOTIFY convertedCountChanged)

public:
    enum class State { waiting, converting, converted, failed, cancelled };
    Q_ENUM(State)

    enum Role { fileNameRole = Qt::UserRole + 1, stateRole, stateTextRole };

    using Outcome = std::expected<ConversionResult, ConversionFailure>;
    // Runs on the thread pool, one file at a time; it should stop soon once the token is set.
    using Job = std::function<Outcome(const QUrl& midiURL, const CancellationToken& cancellation)>;

    struct Entry {
        QUrl midiURL{};
        State state = State::waiting;
        std::optional<ConversionResult> result{};
        std::optional<FailureReport> failure{};
    };

    explicit ConversionQueue(QObject* parent = nullptr);
    // A run still going stops with its queue; its outcomes have nowhere to go.
    ~ConversionQueue() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return static_cast<int>(m_entries.size()); }
    int selectedRow() const { return m_selectedRow; }
    int convertedCount() const { return countIn(State::converted); }
    int countIn(State state) const;
    bool isRunning() const { return m_cancellation != nullptr; }
    const Entry& entry(int row) const { return m_entries.at(row); }
    // The selected row, or none when the queue is empty.
    const Entry* selected() const;

    // Replaces the rows, all waiting, and selects the first. Refused while a run goes on.
    void setFiles(const QList<QUrl>& midiURLs);
    void select(int row);
    // Converts every row anew, in order; finished() follows the last one, or a cancel.
    void start(Job job);
    void cancel();

signals:
    void countChanged();
    void selectedRowChanged();
    void convertedCountChanged();
    // A row's conversion began or ended.
    void entryChanged(int row);
    void finished();

private:
    void convertNext();
    void finishEntry(int row, const Outcome& outcome);
    void setState(int row, State state);

    QList<Entry> m_entries;
    int m_selectedRow = -1;
    Job m_job;
    int m_runningRow = -1;
    // Shared with the running job, which may outlive the queue; set only while a run goes on.
    std::shared_ptr<CancellationToken> m_cancellation;
};

} // namespace velmarto
