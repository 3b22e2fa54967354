#include "qml/setup/LogPages.h"

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// A line longer than several pages is cut all the same.
constexpr qsizetype pageLimit = 4 * LogPages::pageSize;

bool isFull(const QString& page) {
    return page.size() >= pageLimit || (page.size() >= LogPages::pageSize && page.endsWith(u'\n'));
}

// How much of the text a page that is not full takes: everything while it has room, then up
// to the end of the line that fills it.
qsizetype portionFor(const QString& page, QStringView text) {
    const qsizetype room = LogPages::pageSize - page.size();
    if (text.size() <= room) {
        return text.size();
    }
    const qsizetype limit = pageLimit - page.size();
    const qsizetype lineEnd = text.indexOf(u'\n', std::max<qsizetype>(room - 1, 0));
    if (lineEnd < 0 || lineEnd + 1 > limit) {
        return std::min(text.size(), limit);
    }
    return lineEnd + 1;
}

} // namespace

LogPages::LogPages(QObject* parent)
    : QAbstractListModel(parent) {}

int LogPages::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_pages.size());
}

QVariant LogPages::data(const QModelIndex& index, int role) const {
    if (role != textRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    return m_pages.at(index.row());
}

QHash<int, QByteArray> LogPages::roleNames() const {
    return {{textRole, "pageText"}};
}

void LogPages::append(QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    // The newest page first, then the pages the rest fills, inserted together.
    if (!m_pages.isEmpty() && !isFull(m_pages.last())) {
        const qsizetype taken = portionFor(m_pages.last(), text);
        m_pages.last() += text.first(taken);
        text = text.sliced(taken);
        const QModelIndex newest = index(static_cast<int>(m_pages.size()) - 1);
        emit dataChanged(newest, newest, {textRole});
    }
    QStringList added;
    while (!text.isEmpty()) {
        if (added.isEmpty() || isFull(added.last())) {
            added.append(QString());
        }
        const qsizetype taken = portionFor(added.last(), text);
        added.last() += text.first(taken);
        text = text.sliced(taken);
    }
    if (added.isEmpty()) {
        return;
    }
    const int first = static_cast<int>(m_pages.size());
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    m_pages.append(added);
    endInsertRows();
}

void LogPages::clear() {
    if (m_pages.isEmpty()) {
        return;
    }
    beginResetModel();
    m_pages.clear();
    endResetModel();
}

} // namespace velmarto
