#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

namespace velmarto {

// What the Settings tab shows beyond the preferences, the session and the engine status: the
// texts that name the desktop.
class SettingsViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the application with the platform's texts")

    Q_PROPERTY(QString appearanceCaption READ appearanceCaption CONSTANT)
    Q_PROPERTY(QString revealAfterConvertLabel READ revealAfterConvertLabel CONSTANT)

public:
    SettingsViewModel(QString appearanceCaption, QString revealAfterConvertLabel,
                      QObject* parent = nullptr);

    QString appearanceCaption() const { return m_appearanceCaption; }
    QString revealAfterConvertLabel() const { return m_revealAfterConvertLabel; }

private:
    QString m_appearanceCaption;
    QString m_revealAfterConvertLabel;
};

} // namespace velmarto
