#include "support/IsolatedSettings.h"

#include <QCoreApplication>
#include <QFile>

namespace velmarto::test {

using namespace Qt::StringLiterals;

IsolatedSettings::IsolatedSettings(const QString& application) {
    if (!m_folder.isValid()) {
        qFatal("cannot create a configuration folder for the test");
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.path()));
    QCoreApplication::setOrganizationName(u"velmarto-test"_s);
    QCoreApplication::setApplicationName(application);
}

} // namespace velmarto::test
