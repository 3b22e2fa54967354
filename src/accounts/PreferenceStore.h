#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace velmarto {

// Where the per-user preferences live: the application's standard store, or an INI file that a
// test names. Opening it twice gives two views of the same values, as separate windows need.
class PreferenceStore {
public:
    PreferenceStore() = default;
    explicit PreferenceStore(QString iniFile);

    std::unique_ptr<QSettings> open() const;

private:
    QString m_iniFile;
};

} // namespace velmarto
