#pragma once

#include "core/setup/EngineInstaller.h"
#include "qml/setup/LogPages.h"

#include <QObject>
#include <QPointer>
#include <QtQmlIntegration>

namespace velmarto {

// Feeds an installer's output into LogPages for the setup screen's log card.
class InstallerLog : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::EngineInstaller* installer READ installer WRITE setInstaller NOTIFY
                   installerChanged REQUIRED)
    // The pages, for a ListView: a LogPages model (role "pageText").
    Q_PROPERTY(QObject* pages READ pages CONSTANT)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY isEmptyChanged)

public:
    explicit InstallerLog(QObject* parent = nullptr);

    EngineInstaller* installer() const { return m_installer; }
    void setInstaller(EngineInstaller* installer);
    QObject* pages() { return &m_pages; }
    const LogPages& logPages() const { return m_pages; }
    bool isEmpty() const { return m_pages.isEmpty(); }

signals:
    void installerChanged();
    void isEmptyChanged();
    // After the pages took in new text.
    void textAdded();

private:
    void append(const QString& text);
    void clear();

    QPointer<EngineInstaller> m_installer;
    LogPages m_pages;
};

} // namespace velmarto
