#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmarto {

// A terminal emulator and the arguments that come before the command it should run, for
// example {"xterm", {"-e"}} or {"gnome-terminal", {"--"}}.
struct TerminalLauncher {
    QString program;
    QStringList commandPrefix;

    friend bool operator==(const TerminalLauncher&, const TerminalLauncher&) = default;
};

// The card shown when the install script cannot go on by itself: what stands in the way, and the
// label of the button that opens a terminal as the way round it (none when empty).
struct SetupHelp {
    QString title;
    QString text;
    QString button;
};

// How the engines get installed on this platform: which package manager the install script
// drives, how the user is helped when that manager cannot be used, and the texts of the card
// that offers that help.
struct EngineSetupProfile {
    enum class PackageManager {
        // Homebrew, found on the login shell's PATH or at its two install locations.
        homebrew,
        // The distribution's own: apt-get, dnf, zypper or pacman, run as root.
        distribution,
    };

    PackageManager packageManager = PackageManager::distribution;

    // Runs the install script as "SHELL -lc SCRIPT".
    QString shell;

    // macOS: the program that runs the Terminal AppleScript read from its standard input.
    QString scriptRunner;
    // freedesktop: the terminals to try, in order, for installing with administrator rights.
    QList<TerminalLauncher> terminals;

    // The card shown when the script found no package manager it could use.
    SetupHelp noPackageManager;
    // The card shown when the package manager is there but administrator rights could not be
    // asked for; the command that installs the engines by hand goes with it.
    SetupHelp noAdministratorRights;

    static EngineSetupProfile macOS();
    // $TERMINAL, when set, is the first terminal tried.
    static EngineSetupProfile freedesktop(const QProcessEnvironment& environment);
};

} // namespace velmarto
