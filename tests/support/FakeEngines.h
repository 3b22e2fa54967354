#pragma once

#include "core/platform/PlatformProfile.h"

#include <QString>
#include <QTemporaryDir>

namespace velmarto::test {

// A throw-away install of fake engines: small shell scripts in a temporary folder, and a
// platform profile that finds them there (and only there). Each script body runs under
// /bin/sh with the engine's own arguments in "$@".
class FakeEngines {
public:
    FakeEngines();

    // The profile: MuseScore at bin/mscore, the tools in bin/, work directories under tmp/.
    PlatformProfile profile() const;

    QString binDirectory() const;
    QString temporaryDirectory() const;
    QString path(const QString& relative) const;

    void installMuseScore(const QString& body);
    void installMusicxml2ly(const QString& body);
    void installLilypond(const QString& body);

    // Engines that behave like the real ones on success: MuseScore writes a partwise MusicXML
    // file or a PDF of the right size (chosen by the output's extension), musicxml2ly writes a
    // LilyPond source with a \version line, lilypond writes "<base>.pdf".
    void installWorkingEngines();

    // Writes an executable script at the given path below the folder and returns its full path.
    QString writeScript(const QString& relative, const QString& body);
    // Writes a file (not executable) and returns its full path.
    QString writeFile(const QString& relative, const QByteArray& contents);

    // A small valid MIDI file below the folder: one bar of a scale.
    QString writeMidi(const QString& name);

private:
    QTemporaryDir m_root;
};

} // namespace velmarto::test
