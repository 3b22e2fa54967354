#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace velmarto::portalfilechooser {

// Whether this desktop's own file chooser can be asked for through the XDG desktop portal: the
// portal is installed on the session bus, a portal back end serves the chooser for the desktop
// named in XDG_CURRENT_DESKTOP, and Qt's portal platform theme is among its plugins. Qt asks the
// portal for every file dialog once that theme is chosen, with nothing to fall back on, so the
// answer must be no wherever the chooser might not answer. Read from files alone: it is asked
// before the application (and with it the bus connection) exists.
[[nodiscard]] bool isOffered(const QProcessEnvironment& environment,
                             const QString& qtPluginsFolder);

// Chooses Qt's portal platform theme when the desktop offers its chooser and the user has not
// chosen a platform theme of their own. Call before the application object is built.
void chooseWhenOffered();

} // namespace velmarto::portalfilechooser
