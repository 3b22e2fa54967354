#include "core/settings/Preferences.h"

#include <QLocale>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// The paper sold where the user lives, in LilyPond's names: Letter in the US and Canada, A4
// nearly everywhere else.
QString localPaperSize() {
    const QLocale::Territory territory = QLocale().territory();
    return territory == QLocale::UnitedStates || territory == QLocale::Canada ? u"letter"_s
                                                                              : u"a4"_s;
}

} // namespace

Preferences::Preferences(QObject* parent)
    : QObject(parent) {}

QString Preferences::appearance() const {
    return text(appearanceKey, u"system"_s);
}

QString Preferences::defaultEngine() const {
    return text(defaultEngineKey, u"both"_s);
}

QString Preferences::paperSize() const {
    return text(paperSizeKey, localPaperSize());
}

bool Preferences::revealAfterConvert() const {
    return m_settings.value(revealAfterConvertKey, false).toBool();
}

void Preferences::setAppearance(const QString& appearance) {
    if (write(appearanceKey, appearance, this->appearance())) {
        emit appearanceChanged();
    }
}

void Preferences::setDefaultEngine(const QString& defaultEngine) {
    if (write(defaultEngineKey, defaultEngine, this->defaultEngine())) {
        emit defaultEngineChanged();
    }
}

void Preferences::setPaperSize(const QString& paperSize) {
    if (write(paperSizeKey, paperSize, this->paperSize())) {
        emit paperSizeChanged();
    }
}

void Preferences::setRevealAfterConvert(bool revealAfterConvert) {
    if (write(revealAfterConvertKey, revealAfterConvert, this->revealAfterConvert())) {
        emit revealAfterConvertChanged();
    }
}

QString Preferences::text(const QString& key, const QString& fallback) const {
    return m_settings.value(key, fallback).toString();
}

bool Preferences::write(const QString& key, const QVariant& value, const QVariant& current) {
    if (value == current) {
        return false;
    }
    m_settings.setValue(key, value);
    m_settings.sync();
    return true;
}

} // namespace velmarto
