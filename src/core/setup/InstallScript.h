#pragma once

#include "core/conversion/InstalledEngines.h"
#include "core/platform/EngineSetupProfile.h"

#include <QString>

namespace velmarto {

// The scripts that install the missing engines. Each is three parts: a header that finds the
// package manager (or prints the missing-manager marker and exits 3), one step per missing
// engine (LilyPond first, then MuseScore), and a trailer that prints "__DONE__".
namespace installscript {

// Homebrew: taken from the login shell's PATH, else from its two install locations.
QString homebrew(const InstalledEngines& status);

// apt-get, dnf, zypper or pacman, whichever comes first; run as root, through pkexec when the
// script is not root already. Nothing may stop to ask a question: the script has no terminal.
QString distribution(const InstalledEngines& status);

// The line a script prints, alone, when its package manager cannot be used.
QString missingManagerMarker(EngineSetupProfile::PackageManager manager);
// The line the distribution's script prints, alone, when the package manager is there but no
// administrator rights could be had; the command that installs the engines by hand comes first.
QString noAdministratorRightsMarker();
// That command, taken from the script's output; empty when the output holds none.
QString manualCommandIn(const QString& output);

QString forProfile(const EngineSetupProfile& profile, const InstalledEngines& status);

} // namespace installscript

} // namespace velmarto
