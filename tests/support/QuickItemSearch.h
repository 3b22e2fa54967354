#pragma once

#include <QQuickItem>
#include <QString>

namespace velmarto::test {

// Finds an item by object name in the visual tree. Delegates of a list are children of its
// content item only visually, not as QObjects, so findChild does not reach them.
inline const QQuickItem* visualDescendant(const QQuickItem* item, const QString& name) {
    if (item->objectName() == name) {
        return item;
    }
    for (const QQuickItem* child : item->childItems()) {
        if (const QQuickItem* found = visualDescendant(child, name)) {
            return found;
        }
    }
    return nullptr;
}

inline QQuickItem* visualDescendant(QQuickItem* item, const QString& name) {
    if (item->objectName() == name) {
        return item;
    }
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = visualDescendant(child, name)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace velmarto::test
