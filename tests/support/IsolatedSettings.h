#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velmarto::test {

// Points QSettings at a throw-away configuration folder for the life of a test, so no test reads
// or writes the user's real preferences. Create it before the first QSettings is opened.
class IsolatedSettings {
public:
    explicit IsolatedSettings(const QString& application);

private:
    QTemporaryDir m_folder;
};

} // namespace velmarto::test
