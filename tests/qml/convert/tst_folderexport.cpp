#include "qml/convert/FolderExport.h"
#include "support/FileContents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::FolderExport;
using velmarto::test::fileContents;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestFolderExport : public QObject {
    Q_OBJECT

private slots:
    // MIDI files of one name from different folders, in any letter case, never share a copy;
    // only files already in the folder count as replaced, and a copy that fails is named.
    void everyPDFGetsANameOfItsOwn() {
        QTemporaryDir root;
        const QDir dir(root.path());
        const QString pdf = dir.filePath(u"engraved.pdf"_s);
        write(pdf, "%PDF-1.4 score");
        QVERIFY(dir.mkpath(u"out"_s));
        const QDir out(dir.filePath(u"out"_s));
        write(out.filePath(u"Waltz.pdf"_s), "older");

        const FolderExport copies(out.path(), {{u"/a/Waltz.mid"_s, pdf},
                                               {u"/b/waltz.MID"_s, pdf},
                                               {u"/c/Waltz.midi"_s, pdf},
                                               {u"/d/Gone.mid"_s, dir.filePath(u"none.pdf"_s)}});

        QStringList names;
        for (const FolderExport::Copy& copy : copies.copies()) {
            names.append(QFileInfo(copy.destination).fileName());
        }
        QCOMPARE(names, QStringList({u"Waltz.pdf"_s, u"waltz (2).pdf"_s, u"Waltz (3).pdf"_s,
                                     u"Gone.pdf"_s}));
        QCOMPARE(copies.replacedNames(), QStringList{u"Waltz.pdf"_s});
        const QStringList failures = copies.write();
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.first().startsWith(u"Gone.pdf: "_s));
        QCOMPARE(fileContents(out.filePath(u"Waltz.pdf"_s)), QByteArray("%PDF-1.4 score"));
        QCOMPARE(fileContents(out.filePath(u"Waltz (3).pdf"_s)), QByteArray("%PDF-1.4 score"));
    }
};

QTEST_GUILESS_MAIN(TestFolderExport)
#include "tst_folderexport.moc"
