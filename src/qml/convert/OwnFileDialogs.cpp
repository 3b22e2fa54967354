#include "qml/convert/OwnFileDialogs.h"

#include <QQuickItem>

namespace velmarto {

namespace {

// QQuickPopup's closePolicy flag for Escape; the type itself is not public.
constexpr int closeOnEscape = 0x10;

} // namespace

OwnFileDialogs::OwnFileDialogs(QObject* parent)
    : QObject(parent) {}

void OwnFileDialogs::setWindow(QQuickWindow* window) {
    if (m_window != window) {
        m_window = window;
        emit windowChanged();
    }
}

bool OwnFileDialogs::holdModal() const {
    if (!m_window) {
        return false;
    }
    bool found = false;
    // Open popups place their item in the window's overlay; the item's owner is the popup.
    for (QQuickItem* layer : m_window->contentItem()->childItems()) {
        if (!layer->inherits("QQuickOverlay")) {
            continue;
        }
        for (QQuickItem* popupItem : layer->childItems()) {
            QObject* popup = popupItem->parent();
            if (popupItem->isVisible() && popup && popup->inherits("QQuickFileDialogImpl")) {
                popup->setProperty("modal", true);
                popup->setProperty("closePolicy", closeOnEscape);
                found = true;
            }
        }
    }
    return found;
}

} // namespace velmarto
