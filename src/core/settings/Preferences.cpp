#include "core/settings/Preferences.h"

#include <QLocale>

#include <tuple>

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

QString importOptionKey(const QString& name) {
    return u"import/"_s + name;
}

// The options the window offers: those with choices.
std::optional<importoptions::Option> offeredOption(const QString& name) {
    const auto option = importoptions::named(name);
    return option && !option->choices.isEmpty() ? option : std::nullopt;
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

QString Preferences::importOption(const QString& name) const {
    const auto option = offeredOption(name);
    if (!option) {
        return {};
    }
    const QString stored = m_settings.value(importOptionKey(name)).toString();
    return option->choices.contains(stored) ? stored : option->choices.first();
}

void Preferences::setImportOption(const QString& name, const QString& value) {
    const auto option = offeredOption(name);
    if (option && option->choices.contains(value) &&
        write(importOptionKey(name), value, importOption(name))) {
        emit importOptionsChanged();
    }
}

ImportOptions Preferences::importOptions() const {
    ImportOptions options;
    for (const importoptions::Option& option : importoptions::all()) {
        if (!option.choices.isEmpty()) {
            // Every choice is a value the option reads.
            std::ignore = importoptions::set(options, option.name, importOption(option.name));
        }
    }
    return options;
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
