#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace velmarto::test {

// The XDG desktop portal's Settings and FileChooser interfaces, served by a process of its own
// (fake_desktop_portal) on the given bus. It answers "org.freedesktop.appearance" /
// "color-scheme" with the value the test sets and announces changes with SettingChanged; a file
// chooser asked for waits for the test to pick a file or close it. Stops when the object goes.
class FakeDesktopPortal {
public:
    FakeDesktopPortal(const QString& busAddress, uint colorScheme);
    ~FakeDesktopPortal();
    FakeDesktopPortal(const FakeDesktopPortal&) = delete;
    FakeDesktopPortal& operator=(const FakeDesktopPortal&) = delete;

    bool isServing() const { return m_serving; }

    // Stores the value and tells every listener, as the portal does when the desktop changes.
    void changeColorScheme(uint colorScheme);
    // A change of some other setting, which listeners of the colour scheme must ignore.
    void changeOtherSetting(const QString& settingNamespace, const QString& key, uint value);

    // Each chooser asked for so far, as "OpenFile" or "SaveFile", its title, the name it
    // suggests and its filters' names, tab separated.
    QStringList chooserRequests();
    // The user picks the file in the chooser asked for last, or closes it.
    void choose(const QUrl& file);
    void dismiss();

private:
    void command(const QString& line);

    QProcess m_process;
    bool m_serving = false;
    QStringList m_chooserRequests;
};

} // namespace velmarto::test
