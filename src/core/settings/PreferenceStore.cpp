#include "core/settings/PreferenceStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmarto {

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

PreferenceStore::PreferenceStore(QString iniFile)
    : m_iniFile(std::move(iniFile)) {}

std::unique_ptr<QSettings> PreferenceStore::open() const {
    if (m_iniFile.isEmpty()) {
        return std::make_unique<QSettings>();
    }
    return std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
}

QString PreferenceStore::filePath() const {
    return open()->fileName();
}

bool PreferenceStore::restrictToOwner() const {
    const QString path = filePath();
    QFile file(path);
    if (!file.exists() && QDir().mkpath(QFileInfo(path).absolutePath())) {
        // Created owner-only from the start; a file another process creates meanwhile is
        // restricted below like any existing one.
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly);
        file.close();
    }
    return file.setPermissions(ownerOnly);
}

} // namespace velmarto
