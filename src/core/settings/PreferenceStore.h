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
    // The file behind the store, which need not exist yet.
    QString filePath() const;
    // Makes the file readable and writable by its owner alone, creating it (and its folder) when
    // it does not exist yet. The preferences rewrite the file in place of the old one and keep
    // its permissions, so this holds for every later write.
    bool restrictToOwner() const;

private:
    QString m_iniFile;
};

} // namespace velmarto
