#pragma once

#include "core/conversion/ImportOptions.h"

#include <QObject>
#include <QSettings>
#include <QString>

namespace velmarto {

// The user preferences, read from and written to the platform's preference store. The
// application builds one and hands it to every window, so that a change made anywhere is seen
// everywhere at once; readers keep their own interpretation of unknown stored texts. Build it only
// after the application's names are set: they decide which store QSettings opens.
class Preferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString appearance READ appearance WRITE setAppearance NOTIFY appearanceChanged)
    Q_PROPERTY(
        QString defaultEngine READ defaultEngine WRITE setDefaultEngine NOTIFY defaultEngineChanged)
    Q_PROPERTY(QString paperSize READ paperSize WRITE setPaperSize NOTIFY paperSizeChanged)
    Q_PROPERTY(bool revealAfterConvert READ revealAfterConvert WRITE setRevealAfterConvert NOTIFY
                   revealAfterConvertChanged)

public:
    static inline const QString appearanceKey = QStringLiteral("appearance");
    static inline const QString defaultEngineKey = QStringLiteral("defaultEngine");
    static inline const QString paperSizeKey = QStringLiteral("paperSize");
    static inline const QString revealAfterConvertKey = QStringLiteral("revealAfterConvert");

    explicit Preferences(QObject* parent = nullptr);

    QString appearance() const;
    QString defaultEngine() const;
    // Until one is stored, the paper of the locale's country.
    QString paperSize() const;
    bool revealAfterConvert() const;

    void setAppearance(const QString& appearance);
    void setDefaultEngine(const QString& defaultEngine);
    void setPaperSize(const QString& paperSize);
    void setRevealAfterConvert(bool revealAfterConvert);

    // The import options the window offers, each stored as its text under "import/NAME". A
    // stored text that is not one of the option's choices reads as its default, so nothing the
    // window did not offer reaches an engine.
    QString importOption(const QString& name) const;
    // Ignores an unknown name and a value that is not one of the option's choices.
    void setImportOption(const QString& name, const QString& value);
    // All of them, for a conversion.
    ImportOptions importOptions() const;

signals:
    void appearanceChanged();
    void defaultEngineChanged();
    void paperSizeChanged();
    void revealAfterConvertChanged();
    void importOptionsChanged();

private:
    QString text(const QString& key, const QString& fallback) const;
    // Re-selecting the current value neither writes the store nor wakes the observers.
    bool write(const QString& key, const QVariant& value, const QVariant& current);

    QSettings m_settings;
};

} // namespace velmarto
