#include "FakeLoginShell.h"
#include "core/conversion/EngineStatus.h"
#include "core/setup/EngineInstaller.h"
#include "qml/setup/InstallerLog.h"
#include "qml/setup/LogPages.h"
#include "support/FakeEngines.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using velmarto::LogPages;

namespace {

QString joined(const LogPages& pages) {
    QString text;
    for (int row = 0; row < pages.rowCount(); ++row) {
        text += pages.index(row).data(LogPages::textRole).toString();
    }
    return text;
}

QString lines(int count, int length) {
    QString text;
    for (int line = 0; line < count; ++line) {
        text += QString(length - 1, u'x') + u'\n';
    }
    return text;
}

} // namespace

class TestLogPages : public QObject {
    Q_OBJECT

private slots:
    // However the text arrives, the pages hold all of it, end on whole lines and stay small,
    // and an append changes only the newest page and adds pages only after it.
    void pagesHoldTheWholeTextInWholeLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("chunkSize");
        QTest::newRow("short lines, small chunks") << lines(3000, 70) << 37;
        QTest::newRow("short lines, one chunk") << lines(3000, 70) << 1000000;
        QTest::newRow("lines longer than a page") << lines(12, 5000) << 4096;
        QTest::newRow("no line feed at all") << QString(100000, u'y') << 3000;
    }

    void pagesHoldTheWholeTextInWholeLines() {
        QFETCH(QString, text);
        QFETCH(int, chunkSize);
        LogPages pages;
        QAbstractItemModelTester tester(&pages);
        int touchedBeforeNewest = 0;
        int newest = -1;
        connect(&pages, &LogPages::dataChanged, this, [&](const QModelIndex& first) {
            touchedBeforeNewest += first.row() < newest ? 1 : 0;
        });
        connect(&pages, &LogPages::rowsInserted, this, [&](const QModelIndex&, int first) {
            touchedBeforeNewest += first <= newest ? 1 : 0;
        });
        for (qsizetype at = 0; at < text.size(); at += chunkSize) {
            newest = pages.rowCount() - 1;
            pages.append(
                QStringView(text).sliced(at, std::min<qsizetype>(chunkSize, text.size() - at)));
        }
        QCOMPARE(touchedBeforeNewest, 0);
        QCOMPARE(joined(pages), text);
        for (int row = 0; row < pages.rowCount(); ++row) {
            const QString page = pages.index(row).data(LogPages::textRole).toString();
            QVERIFY(page.size() <= 4 * LogPages::pageSize);
            if (row + 1 < pages.rowCount() && text.contains(u'\n')) {
                QVERIFY2(page.endsWith(u'\n'), qPrintable(QString::number(row)));
            }
        }
        QVERIFY(pages.rowCount() >= text.size() / (4 * LogPages::pageSize));
    }

    void followsTheInstallerAndEmptiesWhenANewRunStarts() {
        velmarto::test::FakeEngines engines;
        velmarto::test::FakeLoginShell shell;
        shell.writeProgram(u"brew"_s, u"echo installing"_s);
        velmarto::EngineSetupProfile setup = velmarto::EngineSetupProfile::macOS();
        setup.shell = shell.shell();
        velmarto::EngineStatus status{velmarto::EngineLocator(engines.profile())};
        velmarto::EngineInstaller installer{setup, &status};
        velmarto::InstallerLog log;
        QSignalSpy emptiness(&log, &velmarto::InstallerLog::isEmptyChanged);
        log.setInstaller(&installer);
        QVERIFY(log.isEmpty());

        installer.installMissing();
        QTRY_VERIFY(installer.finished());
        QCOMPARE(joined(log.logPages()), installer.output());
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.pages(), static_cast<const QObject*>(&log.logPages()));

        installer.installMissing();
        QVERIFY(log.isEmpty());
        QTRY_VERIFY(installer.finished());
        QCOMPARE(joined(log.logPages()), installer.output());
        QCOMPARE(emptiness.count(), 3);
    }
};

QTEST_GUILESS_MAIN(TestLogPages)
#include "tst_logpages.moc"
