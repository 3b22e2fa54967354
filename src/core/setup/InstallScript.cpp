#include "core/setup/InstallScript.h"

#include <QStringList>

namespace velmarto::installscript {

using namespace Qt::StringLiterals;

namespace {

bool needsLilyPond(const InstalledEngines& status) {
    return !status.musicxml2ly || !status.lilypond;
}

QString joined(const QStringList& lines) {
    return lines.join(u'\n');
}

QString steps(const InstalledEngines& status, const QString& lilypondStep,
              const QString& museScoreStep) {
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

// Finds the distribution's package manager and the names it gives the engines.
const QString distributionDetection =
    u"set -e\n"
    u"export DEBIAN_FRONTEND=noninteractive APT_LISTCHANGES_FRONTEND=none "
    u"NEEDRESTART_MODE=a PAGER=cat SYSTEMD_PAGER=\n"
    u"if command -v apt-get >/dev/null 2>&1; then\n"
    u"  MANAGER=apt-get; LILYPOND=lilypond; MUSESCORE=musescore3\n"
    u"  MANUAL=\"sudo apt-get install --no-install-recommends\"\n"
    u"elif command -v dnf >/dev/null 2>&1; then\n"
    u"  MANAGER=dnf; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"  MANUAL=\"sudo dnf install\"\n"
    u"elif command -v zypper >/dev/null 2>&1; then\n"
    u"  MANAGER=zypper; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"  MANUAL=\"sudo zypper install\"\n"
    u"elif command -v pacman >/dev/null 2>&1; then\n"
    u"  MANAGER=pacman; LILYPOND=lilypond; MUSESCORE=musescore\n"
    u"  MANUAL=\"sudo pacman -S --needed\"\n"
    u"else\n"
    u"  echo \"No supported package manager was found (apt-get, dnf, zypper or pacman).\"\n"
    u"  echo \"__NO_PACKAGE_MANAGER__\"; exit 3\n"
    u"fi\n"_s;

// Without root the script runs itself again through pkexec, so the whole installation asks for
// the password once. pkexec's own text prompt would ask on the terminal the application was
// started from, where nobody looks, and closing standard input does not stop it: only a
// graphical agent may ask. pkexec ends with 126 when the prompt is dismissed and 127 when it may
// not ask (no agent, not authorised); the user is then told the one command that installs the
// engines by hand, and the no-rights marker brings up the terminal way.
const QString distributionElevation =
    u"if [ \"$(id -u)\" -ne 0 ]; then\n"
    u"  by_hand() {\n"
    u"    echo \"To install them yourself, run this in a terminal:\"\n"
    u"    echo \"  $MANUAL ${WANTED[*]}\"\n"
    u"    echo \"__NO_ADMIN_RIGHTS__\"; exit 3\n"
    u"  }\n"
    u"  if ! command -v pkexec >/dev/null 2>&1; then\n"
    u"    echo \"Installing the engines needs administrator rights, and pkexec is not available "
    u"to ask for them.\"\n"
    u"    by_hand\n"
    u"  fi\n"
    u"  echo \"Asking for permission to install with $MANAGER…\"\n"
    u"  status=0\n"
    u"  pkexec --disable-internal-agent /bin/bash -c \"$BASH_EXECUTION_STRING\" </dev/null "
    u"|| status=$?\n"
    u"  if [ \"$status\" -eq 126 ]; then\n"
    u"    echo \"Permission to install was not given.\"\n"
    u"    by_hand\n"
    u"  elif [ \"$status\" -eq 127 ]; then\n"
    u"    echo \"Installing the engines needs administrator rights, and no password prompt could "
    u"be shown to ask for them.\"\n"
    u"    by_hand\n"
    u"  fi\n"
    u"  exit \"$status\"\n"
    u"fi\n"_s;

// apt-get retries once after refreshing stale package lists. Every manager answers yes by itself
// and reads nothing from standard input.
const QString distributionInstallation =
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

// The packages still missing, for the command shown when the script cannot install them itself.
QString wantedPackages(const InstalledEngines& status) {
    QStringList wanted;
    if (!status.museScore) {
        wanted.append(u"\"$MUSESCORE\""_s);
    }
    if (needsLilyPond(status)) {
        wanted.append(u"\"$LILYPOND\""_s);
    }
    return u"WANTED=("_s + wanted.join(u' ') + u")\n"_s;
}

} // namespace

QString homebrew(const InstalledEngines& status) {
    return homebrewHeader +
           steps(status,
                 u"echo '==> Installing LilyPond engraving engine…'; "
                 u"\"$BREW\" install lilypond expat"_s,
                 u"echo '==> Installing MuseScore (smart MIDI import)…'; "
                 u"\"$BREW\" install --cask musescore"_s) +
           trailer;
}

QString distribution(const InstalledEngines& status) {
    // With nothing to install there is nothing to ask administrator rights for.
    const QString elevation =
        status.allReady() ? QString() : wantedPackages(status) + distributionElevation;
    return distributionDetection + elevation + distributionInstallation +
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

QString noAdministratorRightsMarker() {
    return u"__NO_ADMIN_RIGHTS__"_s;
}

QString manualCommandIn(const QString& output) {
    const QString introduction = u"run this in a terminal:\n  "_s;
    const qsizetype introduced = output.lastIndexOf(introduction);
    if (introduced < 0) {
        return {};
    }
    const qsizetype start = introduced + introduction.size();
    const qsizetype end = output.indexOf(u'\n', start);
    return output.sliced(start, (end < 0 ? output.size() : end) - start).trimmed();
}

QString forProfile(const EngineSetupProfile& profile, const InstalledEngines& status) {
    switch (profile.packageManager) {
    case EngineSetupProfile::PackageManager::homebrew:
        return homebrew(status);
    case EngineSetupProfile::PackageManager::distribution:
        return distribution(status);
    }
    return {};
}

} // namespace velmarto::installscript
