#pragma once

#include "core/platform/EngineSetupProfile.h"

#include <QString>
#include <QStringList>

namespace velmarto {

// The way out when the install script cannot use the package manager: a terminal the user can
// watch and type a password into. macOS asks Terminal, by AppleScript, to run Homebrew's own
// installer; Linux opens a terminal emulator that runs the engines' install script through
// sudo. Nothing is reported back: the user returns to the setup screen and installs again.
namespace bootstrap {

// Runs Homebrew's published installer.
QString homebrewInstallCommand();
// Tells Terminal to come to the front and run the Homebrew installer.
QString terminalAppleScript();

// The arguments that make the terminal run the install script through sudo and wait for Enter
// before it closes. The script travels as an argument of its own, never inside a command string.
QStringList terminalArguments(const TerminalLauncher& terminal, const QString& installScript);

// Starts the bootstrap without waiting for it. Failures are silent.
void start(const EngineSetupProfile& profile, const QString& installScript);

} // namespace bootstrap

} // namespace velmarto
