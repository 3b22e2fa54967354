#include "support/FakeEngines.h"

#include "support/MidiFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmarto::test {

using namespace Qt::StringLiterals;

FakeEngines::FakeEngines() {
    if (!m_root.isValid() || !QDir(m_root.path()).mkpath(u"bin"_s) ||
        !QDir(m_root.path()).mkpath(u"tmp"_s)) {
        qFatal("cannot create the fake engines' folder");
    }
}

PlatformProfile FakeEngines::profile() const {
    PlatformProfile profile = PlatformProfile::freedesktop(QProcessEnvironment());
    profile.temporaryDirectory = temporaryDirectory();
    profile.toolDirectories = {binDirectory()};
    profile.museScoreCandidates = {path(u"bin/mscore"_s)};
    profile.museScoreEnvironment.clear();
    return profile;
}

QString FakeEngines::binDirectory() const {
    return path(u"bin"_s);
}

QString FakeEngines::temporaryDirectory() const {
    return path(u"tmp"_s);
}

QString FakeEngines::path(const QString& relative) const {
    return m_root.filePath(relative);
}

QString FakeEngines::writeFile(const QString& relative, const QByteArray& contents) {
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(full));
    }
    file.write(contents);
    return full;
}

QString FakeEngines::writeScript(const QString& relative, const QString& body) {
    const QString full = writeFile(relative, (u"#!/bin/sh\n"_s + body + u'\n').toUtf8());
    QFile::setPermissions(full, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup);
    return full;
}

void FakeEngines::installMuseScore(const QString& body) {
    writeScript(u"bin/mscore"_s, body);
}

void FakeEngines::installMusicxml2ly(const QString& body) {
    writeScript(u"bin/musicxml2ly"_s, body);
}

void FakeEngines::installLilypond(const QString& body) {
    writeScript(u"bin/lilypond"_s, body);
}

void FakeEngines::installWorkingEngines() {
    // MuseScore: "-o OUT IN", or "-j JOB" with the outputs listed in the job file, one a line.
    // A PDF gets a header, 2000 bytes and a trailer, MusicXML a small partwise score.
    installMuseScore(uR"sh(write() {
  case "$1" in
    *.pdf) { printf '%%PDF-1.4\n'; head -c 2000 /dev/zero; printf '\n%%%%EOF\n'; } > "$1" ;;
    *) { printf '<?xml version="1.0" encoding="UTF-8"?>\n<score-partwise version="3.1">\n'
         printf '<part-list><score-part id="P1"><part-name>Piano</part-name></score-part></part-list>\n'
         printf '<part id="P1"><measure number="1"><note><rest/><duration>4</duration></note></measure></part>\n'
         printf '</score-partwise>\n'; } > "$1" ;;
  esac
  echo "MuseScore wrote $1"
}
for argument; do
  [ "$previous" = -j ] && job=$argument
  previous=$argument
done
if [ -n "$job" ]; then
  sed -n 's/^ *"\(.*\.\(musicxml\|pdf\)\)",\{0,1\}$/\1/p' "$job" | while IFS= read -r out; do write "$out"; done
else
  write "$2"
fi)sh"_s);
    // musicxml2ly: "IN -o OUT".
    installMusicxml2ly(uR"(printf '%% generated\n%s\n{ c4 }\n' '\version "2.24.0"' > "$3"
echo "musicxml2ly wrote $3")"_s);
    // lilypond: "-o BASE IN".
    installLilypond(uR"(printf '%%PDF-1.4 fake\n%%%%EOF\n' > "$2.pdf"
echo "lilypond wrote $2.pdf")"_s);
}

QString FakeEngines::writeMidi(const QString& name) {
    return writeFile(name, MidiFileBuilder::scale(1).build());
}

} // namespace velmarto::test
