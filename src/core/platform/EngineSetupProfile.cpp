#include "core/platform/EngineSetupProfile.h"

namespace velmarto {

using namespace Qt::StringLiterals;

EngineSetupProfile EngineSetupProfile::macOS() {
    EngineSetupProfile profile;
    profile.packageManager = PackageManager::homebrew;
    profile.shell = u"/bin/bash"_s;
    profile.scriptRunner = u"/usr/bin/osascript"_s;
    profile.bootstrapTitle = u"Homebrew is required"_s;
    profile.bootstrapText =
        u"Velmarto installs the engines through Homebrew, the macOS package manager. It isn’t "
        u"installed yet. Click below to install it (Terminal will open and may ask for your "
        u"password), then return here and press “Install Engines”."_s;
    profile.bootstrapButton = u"Install Homebrew…"_s;
    return profile;
}

EngineSetupProfile EngineSetupProfile::freedesktop(const QProcessEnvironment& environment) {
    EngineSetupProfile profile;
    profile.packageManager = PackageManager::distribution;
    profile.shell = u"/bin/bash"_s;
    // $TERMINAL is a convention of window-manager users; like x-terminal-emulator (Debian's
    // alternatives) it takes the command after -e. The desktops' own terminals follow.
    const QString preferred = environment.value(u"TERMINAL"_s);
    if (!preferred.isEmpty()) {
        profile.terminals.append({preferred, {u"-e"_s}});
    }
    profile.terminals.append({
        {u"x-terminal-emulator"_s, {u"-e"_s}},
        {u"gnome-terminal"_s, {u"--"_s}},
        {u"konsole"_s, {u"-e"_s}},
        {u"xfce4-terminal"_s, {u"-x"_s}},
        {u"xterm"_s, {u"-e"_s}},
    });
    profile.bootstrapTitle = u"Your distribution’s package manager is required"_s;
    profile.bootstrapText =
        u"Velmarto installs the engines through your distribution’s package manager. It can’t "
        u"be used from here. Click below to install them in a terminal (a terminal will open "
        u"and may ask for your password), then return here and press “Install Engines”."_s;
    profile.bootstrapButton = u"Install in a Terminal…"_s;
    return profile;
}

} // namespace velmarto
