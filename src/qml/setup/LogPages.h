#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace velmarto {

// The installer's output cut into pages of whole lines for the log view. A list view draws only
// the pages in sight, and an append touches only the newest page, so the cost of showing the
// output stays in proportion to what arrives, however long it grows. The pages joined are
// exactly the output.
class LogPages : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { textRole = Qt::UserRole + 1 };

    // A page grows past this only to finish its last line.
    static constexpr qsizetype pageSize = qsizetype{2} * 1024;

    explicit LogPages(QObject* parent = nullptr);

    bool isEmpty() const { return m_pages.isEmpty(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void append(QStringView text);
    void clear();

private:
    QStringList m_pages;
};

} // namespace velmarto
