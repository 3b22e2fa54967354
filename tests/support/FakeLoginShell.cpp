#include "FakeLoginShell.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace velmarto::test {

using namespace Qt::StringLiterals;

namespace {

void writeExecutable(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write(text.toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString singleQuoted(QString text) {
    return u'\'' + text.replace(u"'"_s, u"'\\''"_s) + u'\'';
}

} // namespace

FakeLoginShell::FakeLoginShell() {
    if (!m_root.isValid() || !QDir(m_root.path()).mkpath(u"bin"_s) ||
        !QDir(m_root.path()).mkpath(u"home"_s)) {
        qFatal("cannot create the fake login shell's folders");
    }
    QFile profile(path(u"home/.bash_profile"_s));
    if (!profile.open(QIODevice::WriteOnly)) {
        qFatal("cannot write .bash_profile");
    }
    profile.write((u"export PATH="_s + singleQuoted(binDirectory()) + u"\n"_s).toUtf8());
    profile.close();
    writeExecutable(shell(), u"#!/bin/bash\nexport HOME="_s + singleQuoted(path(u"home"_s)) +
                                 u"\nexec /bin/bash \"$@\"\n"_s);
}

QString FakeLoginShell::shell() const {
    return path(u"login-shell"_s);
}

QString FakeLoginShell::binDirectory() const {
    return path(u"bin"_s);
}

QString FakeLoginShell::path(const QString& relative) const {
    return m_root.filePath(relative);
}

QString FakeLoginShell::writeProgram(const QString& name, const QString& body) {
    const QString program = binDirectory() + u'/' + name;
    writeExecutable(program,
                    u"#!/bin/bash\nall=\"$*\"\nprintf '%s\\n' \"${all//$'\\n'/\\\\n}\" >> "_s +
                        singleQuoted(program + u".calls"_s) + u'\n' + body + u'\n');
    return program;
}

void FakeLoginShell::linkRealProgram(const QString& name) {
    QFile::link(u"/usr/bin/"_s + name, binDirectory() + u'/' + name);
}

void FakeLoginShell::pretendUserId(int userId, const QString& folder) {
    const QString program = (folder.isEmpty() ? binDirectory() : folder) + u"/id"_s;
    QFile::remove(program);
    writeExecutable(program,
                    u"#!/bin/bash\ncase \"$1\" in -un) echo %1 ;; *) echo %2 ;; esac\n"_s.arg(
                        userId == 0 ? u"root"_s : u"someone"_s, QString::number(userId)));
}

QStringList FakeLoginShell::calls(const QString& name) const {
    QFile file(binDirectory() + u'/' + name + u".calls"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

FakeLoginShell::Run FakeLoginShell::run(const QString& script) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(shell(), {u"-lc"_s, script});
    process.waitForFinished(60000);
    return {QString::fromUtf8(process.readAll()), process.exitCode()};
}

} // namespace velmarto::test
