#pragma once

#include "core/conversion/ToolStatus.h"
#include "core/setup/EngineInstaller.h"

#include <QObject>
#include <QPointer>
#include <QtQmlIntegration>

namespace velmarto {

// What the setup screen's checklist and skip link show. The rows keep the engines found when
// the screen was made and change only when an installer run ends; whether all engines are
// ready is asked again whenever the screen has reason to redraw.
class EngineChecklist : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(velmarto::EngineInstaller* installer READ installer WRITE setInstaller NOTIFY
                   installerChanged REQUIRED)
    Q_PROPERTY(bool museScore READ museScore NOTIFY statusChanged)
    Q_PROPERTY(bool musicxml2ly READ musicxml2ly NOTIFY statusChanged)
    Q_PROPERTY(bool lilypond READ lilypond NOTIFY statusChanged)
    Q_PROPERTY(bool allReady READ allReady NOTIFY allReadyChanged)

public:
    explicit EngineChecklist(QObject* parent = nullptr);

    EngineInstaller* installer() const { return m_installer; }
    void setInstaller(EngineInstaller* installer);

    bool museScore() const { return m_status.museScore; }
    bool musicxml2ly() const { return m_status.musicxml2ly; }
    bool lilypond() const { return m_status.lilypond; }
    bool allReady() const { return m_allReady; }

    // Asks the disk again whether every engine is there (not the rows).
    Q_INVOKABLE void recheck();

signals:
    void installerChanged();
    void statusChanged();
    void allReadyChanged();

private:
    void refreshStatus();

    QPointer<EngineInstaller> m_installer;
    ToolStatus m_status;
    bool m_allReady = false;
};

} // namespace velmarto
