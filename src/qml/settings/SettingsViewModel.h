#pragma once

#include "core/conversion/Converter.h"
#include "core/conversion/ToolStatus.h"

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

namespace velmarto {

// What the Settings tab shows beyond the preferences and the session: which engines are
// installed, looked up afresh whenever the tab asks, and the texts that name the desktop.
class SettingsViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the application with the platform's engines")

    Q_PROPERTY(bool museScoreFound READ museScoreFound NOTIFY museScoreFoundChanged)
    Q_PROPERTY(bool musicxml2lyFound READ musicxml2lyFound NOTIFY musicxml2lyFoundChanged)
    Q_PROPERTY(bool lilypondFound READ lilypondFound NOTIFY lilypondFoundChanged)
    Q_PROPERTY(QString appearanceCaption READ appearanceCaption CONSTANT)
    Q_PROPERTY(QString revealAfterConvertLabel READ revealAfterConvertLabel CONSTANT)

public:
    explicit SettingsViewModel(Converter converter, QObject* parent = nullptr);

    bool museScoreFound() const { return m_toolStatus.museScore; }
    bool musicxml2lyFound() const { return m_toolStatus.musicxml2ly; }
    bool lilypondFound() const { return m_toolStatus.lilypond; }
    QString appearanceCaption() const { return m_converter.profile().appearanceCaption; }
    QString revealAfterConvertLabel() const {
        return m_converter.profile().revealAfterConvertLabel;
    }

    // Looks on disk again, so an engine installed meanwhile shows as installed.
    Q_INVOKABLE void refreshToolStatus();

signals:
    void museScoreFoundChanged();
    void musicxml2lyFoundChanged();
    void lilypondFoundChanged();

private:
    Converter m_converter;
    ToolStatus m_toolStatus;
};

} // namespace velmarto
