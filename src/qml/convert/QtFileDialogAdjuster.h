#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QtQmlIntegration>

namespace velmarto {

// Qt's own file dialog, drawn inside a window when the desktop offers none, falls short of a
// desktop's: it opens as a plain popup (a click beside it closes it and also reaches the control
// underneath), its name field waits for a click, its filters show their patterns and it keeps
// the palette the window had when it was built. This adjusts the ones open in its window.
class QtFileDialogAdjuster : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickWindow* window READ window WRITE setWindow NOTIFY windowChanged)

public:
    explicit QtFileDialogAdjuster(QObject* parent = nullptr);

    QQuickWindow* window() const { return m_window; }
    void setWindow(QQuickWindow* window);

    // Makes every open one of Qt's own file dialogs in the window modal, closed only by its
    // buttons or Escape. Returns whether there was one: a desktop dialog is a window apart.
    Q_INVOKABLE bool holdModal() const;
    // Gives the keys to the open save dialog's name field with the name before its extension
    // selected, so typing replaces the name and keeps the type, as desktop dialogs do. Return or
    // Enter in the field then reports what was typed through fileNameSubmitted, before Qt's own
    // dialog sees the key: it cuts a typed path down to its last part and saves nothing.
    Q_INVOKABLE void focusFileName();
    // Shows each filter by its name ("MIDI files"), not by the patterns that spell every letter
    // case: Qt's own dialog ignores the option that hides them.
    Q_INVOKABLE void showFilterNames() const;
    // Paints the open dialogs in the application's palette: they take the window's palette as it
    // was when the window was built, and stay light after the user switches to dark.
    Q_INVOKABLE void followApplicationPalette() const;

signals:
    void windowChanged();
    void fileNameSubmitted(const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The popup items of Qt's own file dialogs that are open in the window.
    QList<QQuickItem*> openDialogItems() const;

    QPointer<QQuickWindow> m_window;
};

} // namespace velmarto
