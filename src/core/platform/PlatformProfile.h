#pragma once

#include "core/platform/EngineSetupProfile.h"
#include "core/platform/MailProfile.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmarto {

// Everything that differs between macOS and a freedesktop Linux desktop, as plain data. Both
// profiles are built and tested on every platform; the app picks one with current(). Tests build
// their own on temporary folders.
struct PlatformProfile {
    enum class Kind { macOS, freedesktop };

    Kind kind = Kind::freedesktop;

    // Where conversions make their work directories (each owner-only), and the TMPDIR engines
    // inherit when the environment has none. Always an absolute path.
    QString temporaryDirectory;

    // musicxml2ly and lilypond are looked up here, in order; lilypond also gets them on its PATH.
    QStringList toolDirectories;
    // MuseScore executables, tried in order.
    QStringList museScoreCandidates;

    QMap<QString, QString> museScoreEnvironment;
    QMap<QString, QString> musicxml2lyEnvironment;

    // The detail texts of the locating errors: what is missing and how to install it.
    QString museScoreMissingDetail;
    QString musicxml2lyMissingDetail;
    QString lilypondMissingDetail;

    MailProfile mail;

    // Revealing a file. macOS: this program is /usr/bin/open, run as "open -R PATH". freedesktop:
    // the file manager is asked over D-Bus first, and this program (xdg-open) opens the
    // containing folder when that fails.
    QString revealProgram;
    // The status line's note when no way of showing the file could be started; %1 is its name.
    QString revealFailedNote;
    // The link after "Saved to …" that shows the saved copy.
    QString showSavedCopyLabel;

    // Settings tab texts that name the computer or its file manager.
    QString appearanceCaption;
    QString revealAfterConvertLabel;
    // Installing missing engines: the package manager, the bootstrap and its card's texts.
    EngineSetupProfile setup;

    static PlatformProfile macOS();
    // The environment decides whether MuseScore must be told to run without a display.
    static PlatformProfile
    freedesktop(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    static PlatformProfile current();

    // The environment's TMPDIR as an absolute path, or /tmp when it has none; a TMPDIR that does
    // not exist yet is kept, for the conversion to create.
    static QString temporaryDirectoryIn(const QProcessEnvironment& environment);
};

} // namespace velmarto
