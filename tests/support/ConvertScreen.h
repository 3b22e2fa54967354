#pragma once

#include "ScriptedFileChooser.h"
#include "core/conversion/EngineStatus.h"
#include "core/platform/DesktopNotifier.h"
#include "core/platform/FileRevealer.h"
#include "core/settings/Preferences.h"
#include "qml/convert/ContentViewModel.h"
#include "support/FakeEngines.h"

#include <QString>
#include <QUrl>

#include <memory>

namespace velmarto::test {

// Everything the Convert tab needs, built as the application builds it. On fake engines the
// reveal goes to a script that succeeds; on the installed engines it goes where the desktop's
// would.
class ConvertScreen {
public:
    enum class Engines { Fake, Installed };
    // Scripted: the chooser answers every file request at once. Dialogs: the view's own dialogs
    // answer them, as a user would.
    enum class FileRequests { Scripted, Dialogs };

    explicit ConvertScreen(Engines which = Engines::Fake,
                           FileRequests requests = FileRequests::Scripted);

    // A MIDI file the fake engines convert, as a chooser or a drop hands it in.
    QUrl midi(const QString& name = QStringLiteral("Song.mid"));

    FakeEngines engines;
    Preferences preferences;
    ScriptedFileChooser chooser;
    std::unique_ptr<FileRevealer> revealer;
    std::unique_ptr<EngineStatus> status;
    // Where the screen announces a conversion that ends while its window is not in use: the
    // session bus, which under the test runner is a private one.
    DesktopNotifier notifier{QDBusConnection::sessionBus(), QStringLiteral("com.local.velmarto")};
    std::unique_ptr<ContentViewModel> model;
};

} // namespace velmarto::test
