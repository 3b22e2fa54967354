#include "qml/convert/SaveDestination.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::SaveDestination;

class TestSaveDestination : public QObject {
    Q_OBJECT

private slots:
    void answersBecomeTheFileToWrite_data() {
        QTest::addColumn<QUrl>("chosen");
        QTest::addColumn<QUrl>("expected");

        QTest::newRow("a desktop dialog's file URL")
            << QUrl(u"file:///tmp/Copy.pdf"_s) << QUrl(u"file:///tmp/Copy.pdf"_s);
        QTest::newRow("a name typed into the shown folder")
            << QUrl(u"/home/me/Documents/Renamed.pdf"_s)
            << QUrl::fromLocalFile(u"/home/me/Documents/Renamed.pdf"_s);
        QTest::newRow("a bare relative name")
            << QUrl(u"Renamed.pdf"_s) << QUrl::fromLocalFile(u"/home/me/Documents/Renamed.pdf"_s);
        QTest::newRow("an absolute path typed after the shown folder")
            << QUrl(u"/home/me/Documents//tmp/Copy.pdf"_s)
            << QUrl::fromLocalFile(u"/tmp/Copy.pdf"_s);
        QTest::newRow("a path into a sibling folder")
            << QUrl(u"/home/me/Documents/../Music/Copy.pdf"_s)
            << QUrl::fromLocalFile(u"/home/me/Music/Copy.pdf"_s);
        QTest::newRow("the home folder's tilde")
            << QUrl(u"/home/me/Documents/~/Scores/Copy.pdf"_s)
            << QUrl::fromLocalFile(QDir::homePath() + u"/Scores/Copy.pdf"_s);
        QTest::newRow("a name with a hash and a question mark")
            << QUrl(u"/home/me/Documents/Song #1?.pdf"_s)
            << QUrl::fromLocalFile(u"/home/me/Documents/Song #1?.pdf"_s);
        QTest::newRow("a place that is not on this computer")
            << QUrl(u"https://example.com/Copy.pdf"_s) << QUrl(u"https://example.com/Copy.pdf"_s);
        QTest::newRow("no answer") << QUrl() << QUrl();
    }

    void answersBecomeTheFileToWrite() {
        QFETCH(QUrl, chosen);
        QFETCH(QUrl, expected);
        QCOMPARE(SaveDestination::resolve(chosen, QUrl::fromLocalFile(u"/home/me/Documents"_s)),
                 expected);
    }

    void onlyAnExistingFileIsReplaced() {
        QTemporaryDir folder;
        QFile existing(folder.filePath(u"Old.pdf"_s));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QVERIFY(QDir(folder.path()).mkdir(u"Scores"_s));
        const QUrl old = QUrl::fromLocalFile(existing.fileName());
        const QUrl scores = QUrl::fromLocalFile(folder.filePath(u"Scores"_s));

        QVERIFY(SaveDestination::replacesFile(old));
        QVERIFY(!SaveDestination::replacesFile(QUrl::fromLocalFile(folder.filePath(u"New.pdf"_s))));
        QVERIFY(!SaveDestination::replacesFile(scores));
        QVERIFY(!SaveDestination::replacesFile(QUrl(u"https://example.com/Old.pdf"_s)));
        QCOMPARE(SaveDestination::fileName(old), u"Old.pdf"_s);
        QCOMPARE(SaveDestination::folderName(old), QDir(folder.path()).dirName());

        QVERIFY(SaveDestination::isFolder(scores));
        QVERIFY(!SaveDestination::isFolder(old));
    }
};

QTEST_GUILESS_MAIN(TestSaveDestination)
#include "tst_savedestination.moc"
