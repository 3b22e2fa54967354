#include "core/platform/FileReplacement.h"
#include "support/FileContents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace velmarto;
using velmarto::test::fileContents;

class TestFileReplacement : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> scratch;

    QString write(const QString& name, const QByteArray& contents) {
        QFile file(scratch->filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            qFatal("cannot write the test file");
        }
        file.write(contents);
        return file.fileName();
    }

private slots:
    void init() { scratch = std::make_unique<QTemporaryDir>(); }

    void copiesAndReplaces() {
        const QString source = write(u"score.pdf"_s, "%PDF new");
        const QString destination = write(u"saved.pdf"_s, "%PDF old");
        QVERIFY(filereplacement::copy(source, destination).has_value());
        QCOMPARE(fileContents(destination), QByteArray("%PDF new"));
        QCOMPARE(fileContents(source), QByteArray("%PDF new"));

        const QString fresh = scratch->filePath(u"fresh.pdf"_s);
        QVERIFY(filereplacement::copy(source, fresh).has_value());
        QCOMPARE(fileContents(fresh), QByteArray("%PDF new"));
    }

    void aFailedCopyKeepsWhatWasThere() {
        const QString destination = write(u"keep.pdf"_s, "precious");
        const auto missingSource =
            filereplacement::copy(scratch->filePath(u"gone.pdf"_s), destination);
        QVERIFY(!missingSource.has_value());
        QVERIFY(!missingSource.error().isEmpty());
        QCOMPARE(fileContents(destination), QByteArray("precious"));

        const QString source = write(u"score.pdf"_s, "%PDF");
        const QString blocker = write(u"file"_s, "x");
        const auto unwritable = filereplacement::copy(source, blocker + u"/inside.pdf"_s);
        QVERIFY(!unwritable.has_value());
        QVERIFY(!unwritable.error().isEmpty());

        QVERIFY(QDir(scratch->path()).mkdir(u"folder"_s));
        QVERIFY(!filereplacement::copy(source, scratch->filePath(u"folder"_s)).has_value());
        QVERIFY(QFileInfo(scratch->filePath(u"folder"_s)).isDir());
        // No temporary copies are left behind.
        QCOMPARE(QDir(scratch->path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void aLinkAtTheDestinationIsReplacedNotFollowed() {
        const QString source = write(u"score.pdf"_s, "%PDF new");
        const QString victim = write(u"notes.txt"_s, "someone else's notes");
        QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner);
        const QString planted = scratch->filePath(u"song.pdf"_s);
        QVERIFY(QFile::link(victim, planted));

        QVERIFY(filereplacement::copy(source, planted).has_value());
        QCOMPARE(fileContents(victim), QByteArray("someone else's notes"));
        QVERIFY(!QFileInfo(planted).isSymLink());
        QCOMPARE(fileContents(planted), QByteArray("%PDF new"));
    }

    void destinationsThatCannotHoldACopyAreRefusedBeforeWriting() {
        const QString source = write(u"score.pdf"_s, "%PDF");
        const QString fifo = scratch->filePath(u"pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QStringList refused{fifo, u"/dev/null"_s, scratch->filePath(u"gone/x.pdf"_s),
                                  scratch->path()};
        for (const QString& destination : refused) {
            const auto checked = filereplacement::checkDestination(destination);
            QVERIFY2(!checked.has_value(), qPrintable(destination));
            QVERIFY(!filereplacement::copy(source, destination).has_value());
        }
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(filereplacement::checkDestination(scratch->filePath(u"new.pdf"_s)).has_value());
    }

    void savingAFileOntoItselfChangesNothing() {
        const QString source = write(u"self.pdf"_s, "%PDF self");
        QVERIFY(filereplacement::copy(source, source).has_value());
        QVERIFY(filereplacement::copy(source, scratch->path() + u"/./self.pdf"_s).has_value());
        QCOMPARE(fileContents(source), QByteArray("%PDF self"));
    }
};

QTEST_GUILESS_MAIN(TestFileReplacement)
#include "tst_filereplacement.moc"
