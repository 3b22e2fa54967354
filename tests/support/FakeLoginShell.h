#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velmarto::test {

// A login shell whose PATH holds only fake programs. bash -l resets PATH from the profile files,
// so the shell is a small wrapper that runs /bin/bash with a HOME whose .bash_profile puts the
// fakes' folder on PATH and nothing else. Each fake appends its arguments, one line per call,
// to NAME.calls beside it (a line feed written as \n).
class FakeLoginShell {
public:
    FakeLoginShell();

    // Use it where "/bin/bash" would be: "SHELL -lc SCRIPT".
    QString shell() const;
    QString binDirectory() const;
    QString path(const QString& relative) const;

    // A fake at bin/NAME running the bash body after recording the call.
    QString writeProgram(const QString& name, const QString& body);
    // The real program, reachable under its own name.
    void linkRealProgram(const QString& name);
    // A fake `id` that reports this user id, in bin/ or in the given folder.
    void pretendUserId(int userId, const QString& folder = {});

    QStringList calls(const QString& name) const;

    struct Run {
        QString output;
        int exitCode = -1;
    };
    // Runs the script the way the installer does and waits for it.
    Run run(const QString& script) const;

private:
    QTemporaryDir m_root;
};

} // namespace velmarto::test
