#include "FakeProgram.h"

#include "FileContents.h"

#include <QFile>
#include <QTest>

namespace velmarto::test {

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

} // namespace

FakeProgram::FakeProgram(const QString& directory, const QString& name)
    : m_directory(directory)
    , m_name(name) {
    const QByteArray records = QFile::encodeName(m_directory + u'/' + m_name);
    writeFile(
        path(),
        "#!/bin/bash\n"
        "records='" +
            records +
            "'\n"
            "echo run >> \"$records.runs\"\n"
            ": > \"$records.argv\"\n"
            "for argument in \"$@\"; do printf '%s\\0' \"$argument\" >> \"$records.argv\"; done\n"
            "cat > \"$records.stdin\"\n"
            "sleep \"$(cat \"$records.delay\")\"\n"
            "cat \"$records.out\"\n"
            "cat \"$records.err\" >&2\n"
            "exit \"$(cat \"$records.exit\")\"\n");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    prepareReply(0);
}

void FakeProgram::prepareReply(int exitCode, const QByteArray& standardOutput,
                               const QByteArray& standardError) const {
    writeFile(recordFile(u"exit"_s), QByteArray::number(exitCode));
    writeFile(recordFile(u"out"_s), standardOutput);
    writeFile(recordFile(u"err"_s), standardError);
    prepareDelay(0);
}

void FakeProgram::prepareDelay(int seconds) const {
    writeFile(recordFile(u"delay"_s), QByteArray::number(seconds));
}

int FakeProgram::runCount() const {
    return static_cast<int>(fileContents(recordFile(u"runs"_s)).count("run\n"));
}

QStringList FakeProgram::lastArguments() const {
    QStringList arguments;
    const QList<QByteArray> parts = fileContents(recordFile(u"argv"_s)).split('\0');
    for (qsizetype index = 0; index + 1 < parts.size(); ++index) {
        arguments.append(QString::fromUtf8(parts[index]));
    }
    return arguments;
}

QByteArray FakeProgram::lastStandardInput() const {
    return fileContents(recordFile(u"stdin"_s));
}

QString FakeProgram::recordFile(const QString& suffix) const {
    return path() + u'.' + suffix;
}

} // namespace velmarto::test
