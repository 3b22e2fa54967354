#pragma once

#include "core/platform/EngineSetupProfile.h"

#include <QString>
#include <QStringList>

namespace velmarto {

// The way out when the install script cannot use the package manager: a terminal the user can
// watch and type a password into. macOS asks Terminal, by AppleScript, to run Homebrew's own
// installer; Linux opens a terminal emulator that runs the engines' install script as root
// through sudo, pkexec or su, whichever is found first. Only the failure to start is reported
// back: the user returns to the setup screen, which sees what the terminal installed.
namespace bootstrap {

// Runs Homebrew's published installer.
QString homebrewInstallCommand();
// Tells Terminal to come to the front and run the Homebrew installer.
QString terminalAppleScript();

// The command that runs the install script as root through the given sudo, pkexec or su. The
// script travels as an argument of its own, never inside a command string.
QStringList elevatedArguments(const QString& elevationTool, const QString& installScript);

// The arguments that make the terminal run the elevated command and wait for Enter before it
// closes.
QStringList terminalArguments(const TerminalLauncher& terminal, const QStringList& elevated);

// Starts the bootstrap without waiting for it. Returns why it could not start, in a sentence for
// the user (no terminal, no way to become root), or nothing when it started; programs are looked
// for on PATH.
QString start(const EngineSetupProfile& profile, const QString& installScript);

} // namespace bootstrap

} // namespace velmarto
