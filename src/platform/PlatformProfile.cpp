#include "platform/PlatformProfile.h"

#include <QDir>

namespace velmarto {

using namespace Qt::StringLiterals;

PlatformProfile PlatformProfile::macOS() {
    PlatformProfile profile;
    profile.kind = Kind::macOS;
    profile.temporaryDirectory = QDir::tempPath();
    profile.toolDirectories = {u"/opt/homebrew/bin"_s, u"/usr/local/bin"_s};
    profile.museScoreCandidates = {
        u"/Applications/MuseScore 4.app/Contents/MacOS/mscore"_s,
        u"/Applications/MuseScore 4.app/Contents/MacOS/MuseScore 4"_s,
        u"/opt/homebrew/bin/mscore"_s,
        u"/usr/local/bin/mscore"_s,
    };
    profile.musicxml2lyEnvironment = {{u"DYLD_LIBRARY_PATH"_s, u"/opt/homebrew/opt/expat/lib"_s}};
    profile.museScoreMissingDetail =
        u"Could not find the MuseScore 4 executable. Install it with:\n"
        u"  brew install --cask musescore"_s;
    profile.musicxml2lyMissingDetail =
        u"musicxml2ly ships with LilyPond. Install it with:\n  brew install lilypond"_s;
    profile.lilypondMissingDetail = u"Install LilyPond with:\n  brew install lilypond"_s;
    profile.mail = MailProfile::macOS();
    profile.revealProgram = u"/usr/bin/open"_s;
    return profile;
}

PlatformProfile PlatformProfile::freedesktop(const QProcessEnvironment& environment) {
    PlatformProfile profile;
    profile.kind = Kind::freedesktop;
    profile.temporaryDirectory = QDir::tempPath();
    profile.toolDirectories = {u"/usr/local/bin"_s, u"/usr/bin"_s};
    profile.museScoreCandidates = {
        u"/usr/local/bin/mscore4portable"_s,
        u"/usr/bin/mscore4portable"_s,
        u"/usr/local/bin/mscore"_s,
        u"/usr/bin/mscore"_s,
        u"/usr/bin/musescore"_s,
        u"/var/lib/flatpak/exports/bin/org.musescore.MuseScore"_s,
        u"/usr/bin/mscore3"_s,
        u"/usr/bin/musescore3"_s,
    };
    // MuseScore is a GUI program even when it only converts; without a display it aborts unless
    // it is given the offscreen platform plugin.
    const bool hasDisplay = !environment.value(u"DISPLAY"_s).isEmpty() ||
                            !environment.value(u"WAYLAND_DISPLAY"_s).isEmpty();
    if (!hasDisplay) {
        profile.museScoreEnvironment = {{u"QT_QPA_PLATFORM"_s, u"offscreen"_s}};
    }
    profile.museScoreMissingDetail = u"Could not find the MuseScore executable. Install it with:\n"
                                     u"  sudo apt install musescore3"_s;
    profile.musicxml2lyMissingDetail =
        u"musicxml2ly ships with LilyPond. Install it with:\n  sudo apt install lilypond"_s;
    profile.lilypondMissingDetail = u"Install LilyPond with:\n  sudo apt install lilypond"_s;
    profile.mail = MailProfile::freedesktop();
    profile.revealProgram = u"/usr/bin/xdg-open"_s;
    return profile;
}

PlatformProfile PlatformProfile::current() {
#ifdef Q_OS_MACOS
    return macOS();
#else
    return freedesktop();
#endif
}

} // namespace velmarto
