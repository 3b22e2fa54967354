#include "qml/convert/QtFileDialogAdjuster.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QPalette>
#include <QQuickItem>

#include <algorithm>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// QQuickPopup's closePolicy flag for Escape; the type itself is not public.
constexpr int closeOnEscape = 0x10;

// Everything a dialog shows: its footer and header are items of the popup, not its children.
QList<QQuickItem*> descendants(QQuickItem* item) {
    QList<QQuickItem*> found;
    for (QQuickItem* child : item->childItems()) {
        found.append(child);
        found.append(descendants(child));
    }
    return found;
}

} // namespace

QtFileDialogAdjuster::QtFileDialogAdjuster(QObject* parent)
    : QObject(parent) {}

void QtFileDialogAdjuster::setWindow(QQuickWindow* window) {
    if (m_window != window) {
        m_window = window;
        emit windowChanged();
    }
}

QList<QQuickItem*> QtFileDialogAdjuster::openDialogItems() const {
    QList<QQuickItem*> dialogs;
    if (!m_window) {
        return dialogs;
    }
    // Open popups place their item in the window's overlay; the item's owner is the popup.
    for (QQuickItem* layer : m_window->contentItem()->childItems()) {
        if (!layer->inherits("QQuickOverlay")) {
            continue;
        }
        for (QQuickItem* popupItem : layer->childItems()) {
            QObject* popup = popupItem->parent();
            if (popupItem->isVisible() && popup && popup->inherits("QQuickFileDialogImpl")) {
                dialogs.append(popupItem);
            }
        }
    }
    return dialogs;
}

bool QtFileDialogAdjuster::holdModal() const {
    const QList<QQuickItem*> dialogs = openDialogItems();
    for (QQuickItem* dialog : dialogs) {
        dialog->parent()->setProperty("modal", true);
        dialog->parent()->setProperty("closePolicy", closeOnEscape);
    }
    return !dialogs.isEmpty();
}

void QtFileDialogAdjuster::focusFileName() {
    for (QQuickItem* dialog : openDialogItems()) {
        const QList<QQuickItem*> items = descendants(dialog);
        const auto field = std::ranges::find_if(items, [](const QQuickItem* item) {
            return item->objectName() == u"fileNameTextField"_s && item->isVisible();
        });
        if (field == items.end()) {
            continue;
        }
        const QString name = (*field)->property("text").toString();
        const qsizetype dot = name.lastIndexOf(u'.');
        (*field)->installEventFilter(this);
        (*field)->forceActiveFocus(Qt::PopupFocusReason);
        QMetaObject::invokeMethod(*field, "select", Q_ARG(int, 0),
                                  Q_ARG(int, static_cast<int>(dot > 0 ? dot : name.size())));
    }
}

bool QtFileDialogAdjuster::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit fileNameSubmitted(watched->property("text").toString());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtFileDialogAdjuster::showFilterNames() const {
    for (QQuickItem* dialog : openDialogItems()) {
        for (QQuickItem* comboBox : descendants(dialog)) {
            if (!comboBox->inherits("QQuickComboBox")) {
                continue;
            }
            const QString filter = comboBox->property("currentText").toString();
            const qsizetype patterns = filter.lastIndexOf(u" ("_s);
            comboBox->setProperty("displayText", patterns > 0 ? filter.left(patterns) : filter);
        }
    }
}

void QtFileDialogAdjuster::followApplicationPalette() const {
    const QPalette application = QGuiApplication::palette();
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    const auto paint = [&](QObject* control) {
        auto* palette = control->property("palette").value<QObject*>();
        if (!palette) {
            return;
        }
        // The palette's properties are the roles' names in lower camel case ("windowText").
        for (int index = 0; index < roles.keyCount(); ++index) {
            const auto role = static_cast<QPalette::ColorRole>(roles.value(index));
            if (role >= QPalette::NColorRoles || role == QPalette::NoRole) {
                continue;
            }
            QString name = QString::fromLatin1(roles.key(index));
            name[0] = name[0].toLower();
            palette->setProperty(name.toLatin1().constData(), application.color(role));
        }
    };
    // Each control of the dialog starts from its style's own palette, not from the dialog's.
    for (QQuickItem* dialog : openDialogItems()) {
        paint(dialog->parent());
        for (QQuickItem* item : descendants(dialog)) {
            paint(item);
            // The folder bar's background is a plain white rectangle in every palette.
            if (item->inherits("QQuickFolderBreadcrumbBar")) {
                if (auto* background = item->property("background").value<QQuickItem*>()) {
                    background->setProperty("color", application.color(QPalette::Base));
                }
            }
        }
    }
}

} // namespace velmarto
