#include "core/platform/PlatformProfile.h"

#include <QDir>

namespace velmarto {

using namespace Qt::StringLiterals;

QString PlatformProfile::temporaryDirectoryIn(const QProcessEnvironment& environment) {
    // QDir::tempPath() gives an empty path for a TMPDIR that does not exist, which would put the
    // work directories at the root of the file system. The conversion creates a missing one.
    const QString configured = environment.value(u"TMPDIR"_s);
    if (configured.isEmpty()) {
        return u"/tmp"_s;
    }
    return QDir::cleanPath(QDir(configured).absolutePath());
}

PlatformProfile PlatformProfile::macOS() {
    PlatformProfile profile;
    profile.kind = Kind::macOS;
    profile.temporaryDirectory = temporaryDirectoryIn(QProcessEnvironment::systemEnvironment());
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
    profile.revealFailedNote = u"Could not show %1 in Finder."_s;
    profile.showSavedCopyLabel = u"Show in Finder"_s;
    profile.appearanceCaption =
        u"Choose how Velmarto looks. \u201CSystem\u201D follows your Mac\u2019s setting."_s;
    profile.revealAfterConvertLabel = u"Reveal the PDF in Finder automatically"_s;
    profile.setup = EngineSetupProfile::macOS();
    return profile;
}

PlatformProfile PlatformProfile::freedesktop(const QProcessEnvironment& environment) {
    PlatformProfile profile;
    profile.kind = Kind::freedesktop;
    profile.temporaryDirectory = temporaryDirectoryIn(environment);
    profile.toolDirectories = {u"/usr/local/bin"_s, u"/usr/bin"_s};
    // MuseScore 4 and 3 by their versioned names first: on Debian and Ubuntu the generic names
    // belong to MuseScore 2, which writes poorer MusicXML. No Flatpak: its sandbox cannot see the
    // work directory under /tmp.
    profile.museScoreCandidates = {
        u"/usr/local/bin/mscore4portable"_s, u"/usr/bin/mscore4portable"_s,
        u"/usr/local/bin/mscore3"_s,         u"/usr/bin/mscore3"_s,
        u"/usr/local/bin/musescore3"_s,      u"/usr/bin/musescore3"_s,
        u"/usr/local/bin/mscore"_s,          u"/usr/bin/mscore"_s,
        u"/usr/local/bin/musescore"_s,       u"/usr/bin/musescore"_s,
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
    profile.revealFailedNote = u"Could not show %1 in the file manager."_s;
    profile.showSavedCopyLabel = u"Show in Files"_s;
    profile.appearanceCaption =
        u"Choose how Velmarto looks. \u201CSystem\u201D follows your desktop\u2019s setting."_s;
    profile.revealAfterConvertLabel = u"Reveal the PDF in the file manager automatically"_s;
    profile.setup = EngineSetupProfile::freedesktop(environment);
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
