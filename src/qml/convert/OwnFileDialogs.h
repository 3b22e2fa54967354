#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QtQmlIntegration>

namespace velmarto {

// Qt's own file dialog, drawn inside a window when the desktop offers none, opens as a plain
// popup: a click beside it closes it and also reaches the control underneath. This holds it to
// what a modal dialog is.
class OwnFileDialogs : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickWindow* window READ window WRITE setWindow NOTIFY windowChanged)

public:
    explicit OwnFileDialogs(QObject* parent = nullptr);

    QQuickWindow* window() const { return m_window; }
    void setWindow(QQuickWindow* window);

    // Makes every open one of Qt's own file dialogs in the window modal, closed only by its
    // buttons or Escape. Returns whether there was one: a desktop dialog is a window apart.
    Q_INVOKABLE bool holdModal() const;

signals:
    void windowChanged();

private:
    QPointer<QQuickWindow> m_window;
};

} // namespace velmarto
