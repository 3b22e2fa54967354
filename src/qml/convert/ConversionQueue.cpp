#include "qml/convert/ConversionQueue.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

QString stateText(ConversionQueue::State state) {
    switch (state) {
    case ConversionQueue::State::waiting:
        return u"Waiting"_s;
    case ConversionQueue::State::converting:
        return u"Converting…"_s;
    case ConversionQueue::State::converted:
        return u"Converted"_s;
    case ConversionQueue::State::failed:
        return u"Failed"_s;
    case ConversionQueue::State::cancelled:
        return u"Cancelled"_s;
    }
    return {};
}

} // namespace

ConversionQueue::ConversionQueue(QObject* parent)
    : QAbstractListModel(parent) {}

ConversionQueue::~ConversionQueue() {
    cancel();
}

int ConversionQueue::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ConversionQueue::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Entry& row = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case fileNameRole:
        return QFileInfo(row.midiURL.toLocalFile()).fileName();
    case stateRole:
        return static_cast<int>(row.state);
    case stateTextRole:
        return stateText(row.state);
    default:
        return {};
    }
}

QHash<int, QByteArray> ConversionQueue::roleNames() const {
    return {
        {fileNameRole, "fileName"}, {stateRole, "conversionState"}, {stateTextRole, "stateText"}};
}

int ConversionQueue::countIn(State state) const {
    return static_cast<int>(std::ranges::count(m_entries, state, &Entry::state));
}

const ConversionQueue::Entry* ConversionQueue::selected() const {
    return m_selectedRow >= 0 ? &m_entries.at(m_selectedRow) : nullptr;
}

void ConversionQueue::setFiles(const QList<QUrl>& midiURLs) {
    if (isRunning()) {
        return;
    }
    const int converted = convertedCount();
    beginResetModel();
    m_entries.clear();
    for (const QUrl& url : midiURLs) {
        m_entries.append({.midiURL = url});
    }
    endResetModel();
    emit countChanged();
    if (converted != 0) {
        emit convertedCountChanged();
    }
    m_selectedRow = -1;
    select(m_entries.isEmpty() ? -1 : 0);
}

void ConversionQueue::select(int row) {
    if (row < -1 || row >= count()) {
        return;
    }
    // Also when unchanged: a reset queue shows its first row afresh.
    m_selectedRow = row;
    emit selectedRowChanged();
}

void ConversionQueue::start(Job job) {
    if (isRunning() || m_entries.isEmpty()) {
        return;
    }
    const int converted = convertedCount();
    for (int row = 0; row < count(); ++row) {
        m_entries[row] = {.midiURL = m_entries[row].midiURL};
    }
    emit dataChanged(index(0), index(count() - 1));
    if (converted != 0) {
        emit convertedCountChanged();
    }
    m_job = std::move(job);
    m_cancellation = std::make_shared<CancellationToken>();
    m_runningRow = -1;
    convertNext();
}

void ConversionQueue::cancel() {
    if (m_cancellation) {
        m_cancellation->cancel();
    }
}

void ConversionQueue::convertNext() {
    ++m_runningRow;
    if (m_runningRow >= count() || m_cancellation->isCancelled()) {
        for (int row = m_runningRow; row < count(); ++row) {
            setState(row, State::cancelled);
        }
        m_runningRow = -1;
        m_cancellation.reset();
        m_job = nullptr;
        emit finished();
        return;
    }
    const int row = m_runningRow;
    setState(row, State::converting);
    auto* watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcher<Outcome>::finished, this, [this, watcher, row] {
        watcher->deleteLater();
        finishEntry(row, watcher->result());
        convertNext();
    });
    watcher->setFuture(
        QtConcurrent::run([job = m_job, midiURL = m_entries.at(row).midiURL,
                           cancellation = m_cancellation] { return job(midiURL, *cancellation); }));
}

void ConversionQueue::finishEntry(int row, const Outcome& outcome) {
    Entry& entry = m_entries[row];
    if (outcome) {
        entry.result = *outcome;
        setState(row, State::converted);
        emit convertedCountChanged();
    } else if (std::holds_alternative<ConversionCancelled>(outcome.error())) {
        setState(row, State::cancelled);
    } else {
        entry.failure = FailureReport::of(outcome.error(), entry.midiURL.toLocalFile());
        setState(row, State::failed);
    }
}

void ConversionQueue::setState(int row, State state) {
    m_entries[row].state = state;
    emit dataChanged(index(row), index(row), {stateRole, stateTextRole});
    emit entryChanged(row);
}

} // namespace velmarto
