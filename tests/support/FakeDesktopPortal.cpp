#include "support/FakeDesktopPortal.h"

namespace velmarto::test {

using namespace Qt::StringLiterals;

FakeDesktopPortal::FakeDesktopPortal(const QString& busAddress, uint colorScheme) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(VELMARTO_FAKE_DESKTOP_PORTAL),
                    {busAddress, QString::number(colorScheme)});
    m_serving = m_process.waitForReadyRead(10000) && m_process.readLine().trimmed() == "ready";
}

FakeDesktopPortal::~FakeDesktopPortal() {
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void FakeDesktopPortal::changeColorScheme(uint colorScheme) {
    command(u"set %1"_s.arg(colorScheme));
}

void FakeDesktopPortal::changeOtherSetting(const QString& settingNamespace, const QString& key,
                                           uint value) {
    command(u"other %1 %2 %3"_s.arg(settingNamespace, key).arg(value));
}

QStringList FakeDesktopPortal::chooserRequests() {
    // Started before the application, the process has no notifier to read for it.
    m_process.waitForReadyRead(10);
    while (m_process.canReadLine()) {
        m_chooserRequests << QString::fromUtf8(m_process.readLine()).chopped(1);
    }
    return m_chooserRequests;
}

void FakeDesktopPortal::choose(const QUrl& file) {
    command(u"choose "_s + QString::fromUtf8(file.toEncoded()));
}

void FakeDesktopPortal::dismiss() {
    command(u"dismiss"_s);
}

void FakeDesktopPortal::command(const QString& line) {
    m_process.write((line + u'\n').toUtf8());
    m_process.waitForBytesWritten();
}

} // namespace velmarto::test
