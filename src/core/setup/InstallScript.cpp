#include "core/setup/InstallScript.h"

#include <QStringList>

namespace velmarto::installscript {

using namespace Qt::StringLiterals;

namespace {

bool needsLilyPond(const ToolStatus& status) {
    return !status.musicxml2ly || !status.lilypond;
}

QString joined(const QStringList& lines) {
    return lines.join(u'\n');
}

QString steps(const ToolStatus& status, const QString& lilypondStep, const QString& museScoreStep) {
    QStringList lines;
    if (needsLilyPond(status)) {
        lines.append(lilypondStep);
    }
    if (!status.museScore) {
        lines.append(museScoreStep);
    }
    return joined(lines);
}

const QString trailer = u"\necho \"__DONE__\""_s;

const QString homebrewHeader = u"set -e\n"
                               u"BREW=\"$(command -v brew || true)\"\n"
                               u"if [ -z \"$BREW\" ]; then\n"
                               u"  for c in /opt/homebrew/bin/brew /usr/local/bin/brew; do "
                               u"[ -x \"$c\" ] && BREW=\"$c\"; done\n"
                               u"fi\n"
                               u"if [ -z \"$BREW\" ]; then echo \"__NO_BREW__\"; exit 3; fi\n"
                               u"echo \"Using Homebrew at $BREW\"\n"_s;

// Without root the script runs itself again through pkexec, so the whole installation asks
// for the password once. pkexec ends with 126 when the prompt is dismissed and 127 when it may
// not ask (no agent, not authorised); the missing-manager marker then brings up the terminal
// bootstrap. Its standard input is closed so that it never falls back to a text prompt on the
// terminal the application was started from. apt-get retries once after refreshing stale
// package lists. Every manager answers yes by itself and reads nothing from standard input.
const QString distributionHeader =
    u"set -e\n"
    u"export DEBIAN_FRONTEND=noninteractive APT_LISTCHANGES_FRONTEND=none "
    u"NEEDRESTART_MODE=a PAGER=cat SYSTEMD_PAGER=\n"
    u"if command -v apt-get >/dev/null 2>&1; then\n"
    u"  MANAGER=apt-get; LILYPOND=lilypond; MUSESCORE=musescore3\n"
    u"elif command -v dnf >/dev/null 2>&1; then\n"
    u"  MANAGER=dnf; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"elif command -v zypper >/dev/null 2>&1; then\n"
    u"  MANAGER=zypper; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"elif command -v pacman >/dev/null 2>&1; then\n"
    u"  MANAGER=pacman; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"else\n"
    u"  echo \"No supported package manager was found (apt-get, dnf, zypper or pacman).\"\n"
    u"  echo \"__NO_PACKAGE_MANAGER__\"; exit 3\n"
    u"fi\n"
    u"if [ \"$(id -u)\" -ne 0 ]; then\n"
    u"  if ! command -v pkexec >/dev/null 2>&1; then\n"
    u"    echo \"Installing needs administrator rights, and pkexec is not available.\"\n"
    u"    echo \"__NO_PACKAGE_MANAGER__\"; exit 3\n"
    u"  fi\n"
    u"  echo \"Asking for permission to install with $MANAGER…\"\n"
    u"  status=0\n"
    u"  pkexec /bin/bash -c \"$BASH_EXECUTION_STRING\" </dev/null || status=$?\n"
    u"  if [ \"$status\" -eq 126 ] || [ \"$status\" -eq 127 ]; then\n"
    u"    echo \"Permission to install was not given.\"\n"
    u"    echo \"__NO_PACKAGE_MANAGER__\"; exit 3\n"
    u"  fi\n"
    u"  exit \"$status\"\n"
    u"fi\n"
    u"APT_OPTIONS=(-y --no-install-recommends -o Dpkg::Options::=--force-confdef "
    u"-o Dpkg::Options::=--force-confold -o Dpkg::Use-Pty=0)\n"
    u"install_packages() {\n"
    u"  case \"$MANAGER\" in\n"
    u"    apt-get) apt-get install \"${APT_OPTIONS[@]}\" \"$@\" </dev/null ||\n"
    u"      { apt-get update </dev/null && apt-get install \"${APT_OPTIONS[@]}\" \"$@\" "
    u"</dev/null; } ;;\n"
    u"    dnf) dnf install -y \"$@\" </dev/null ;;\n"
    u"    zypper) zypper --non-interactive install \"$@\" </dev/null ;;\n"
    u"    pacman) pacman -S --needed --noconfirm \"$@\" </dev/null ;;\n"
    u"  esac\n"
    u"}\n"
    u"echo \"Using $MANAGER\"\n"_s;

} // namespace

QString homebrew(const ToolStatus& status) {
    return homebrewHeader +
           steps(status,
                 u"echo '==> Installing LilyPond engraving engine…'; "
                 u"\"$BREW\" install lilypond expat"_s,
                 u"echo '==> Installing MuseScore (smart MIDI import)…'; "
                 u"\"$BREW\" install --cask musescore"_s) +
           trailer;
}

QString distribution(const ToolStatus& status) {
    return distributionHeader +
           steps(status,
                 u"echo '==> Installing LilyPond engraving engine…'; "
                 u"install_packages \"$LILYPOND\""_s,
                 u"echo '==> Installing MuseScore (smart MIDI import)…'; "
                 u"install_packages \"$MUSESCORE\""_s) +
           trailer;
}

QString missingManagerMarker(EngineSetupProfile::PackageManager manager) {
    switch (manager) {
    case EngineSetupProfile::PackageManager::homebrew:
        return u"__NO_BREW__"_s;
    case EngineSetupProfile::PackageManager::distribution:
        return u"__NO_PACKAGE_MANAGER__"_s;
    }
    return {};
}

QString forProfile(const EngineSetupProfile& profile, const ToolStatus& status) {
    switch (profile.packageManager) {
    case EngineSetupProfile::PackageManager::homebrew:
        return homebrew(status);
    case EngineSetupProfile::PackageManager::distribution:
        return distribution(status);
    }
    return {};
}

} // namespace velmarto::installscript
