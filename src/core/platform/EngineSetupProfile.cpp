#include "core/platform/EngineSetupProfile.h"

namespace velmarto {

using namespace Qt::StringLiterals;

EngineSetupProfile EngineSetupProfile::macOS() {
    EngineSetupProfile profile;
    profile.packageManager = PackageManager::homebrew;
    profile.shell = u"/bin/bash"_s;
    profile.scriptRunner = u"/usr/bin/osascript"_s;
    profile.noPackageManager = {
        .title = u"Homebrew is required"_s,
        .text = u"Velmarto installs the engines through Homebrew, the macOS package manager. It "
                u"isn’t installed yet. Click below to install it (Terminal will open and may ask "
                u"for your password), then return here and press “Retry Install”."_s,
        .button = u"Install Homebrew…"_s,
    };
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
    profile.noPackageManager = {
        .title = u"No supported package manager was found"_s,
        .text = u"Velmarto installs the engines with apt-get, dnf, zypper or pacman, and none of "
                u"them is on this system. Install MuseScore 3 and LilyPond with your system’s "
                u"software tool; this screen shows them as installed when you come back."_s,
        .button = {},
    };
    profile.noAdministratorRights = {
        .title = u"Administrator rights are needed"_s,
        .text = u"Your package manager is here, but Velmarto could not ask for administrator "
                u"rights from this window. Run this command in a terminal, or let Velmarto open "
                u"one; this screen shows the engines as installed when you come back."_s,
        .button = u"Install in a Terminal…"_s,
    };
    return profile;
}

} // namespace velmarto
