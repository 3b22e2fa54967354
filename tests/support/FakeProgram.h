#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmarto::test {

// A shell script standing in for osascript or sendmail. It records its arguments and standard
// input, waits as long as it was told, then prints the prepared output and exits with the
// prepared status.
class FakeProgram {
public:
    FakeProgram(const QString& directory, const QString& name);

    QString path() const { return m_directory + u'/' + m_name; }

    void prepareReply(int exitCode, const QByteArray& standardOutput = {},
                      const QByteArray& standardError = {}) const;

    // Seconds the program waits before it answers; prepareReply() sets it back to none.
    void prepareDelay(int seconds) const;

    int runCount() const;
    QStringList lastArguments() const;
    QByteArray lastStandardInput() const;

private:
    QString recordFile(const QString& suffix) const;

    QString m_directory;
    QString m_name;
};

} // namespace velmarto::test
