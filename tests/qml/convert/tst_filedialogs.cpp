#include "ConvertWindow.h"
#include "support/IsolatedSettings.h"
#include "support/OwnHome.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <functional>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using velmarto::test::ConvertWindow;
using velmarto::test::OwnHome;

namespace {

// The Convert tab in an offscreen window with Qt's own file dialogs (no platform theme offers
// native ones there), driven by clicks and typing as a user would.
struct Window : OwnHome, ConvertWindow {
    Window()
        : ConvertWindow({1000, 700}, Engines::Fake, FileRequests::Dialogs) {}

    QString documents(const QString& relative) const {
        return QDir(home.path()).filePath(u"Documents/"_s + relative);
    }

    QString status() const { return model->statusMessage(); }

    QString focusedName() const {
        return view.activeFocusItem() ? view.activeFocusItem()->objectName() : QString();
    }

    // The first visible item that matches, in the whole visual tree (dialogs included).
    QQuickItem* find(const std::function<bool(QQuickItem*)>& matches,
                     QQuickItem* from = nullptr) const {
        from = from ? from : view.contentItem();
        if (from->isVisible() && matches(from)) {
            return from;
        }
        for (QQuickItem* child : from->childItems()) {
            if (QQuickItem* found = child->isVisible() ? find(matches, child) : nullptr) {
                return found;
            }
        }
        return nullptr;
    }

    QQuickItem* named(const QString& name) const {
        return find([&](QQuickItem* item) { return item->objectName() == name; });
    }

    QQuickItem* button(const QString& text) const {
        return find([&](QQuickItem* item) {
            return item->inherits("QQuickAbstractButton") && item->property("text") == text;
        });
    }

    void click(QQuickItem* target, int clicks = 1) {
        QVERIFY(target);
        // A frame first: a popup that has just opened lays out its buttons before it is drawn.
        view.grabWindow();
        const QPoint centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
        if (clicks == 2) {
            QTest::mouseDClick(&view, Qt::LeftButton, {}, centre);
        } else {
            QTest::mouseClick(&view, Qt::LeftButton, {}, centre);
        }
    }

    void convertOnce() {
        model->setMIDI(midi());
        model->convert();
        QTRY_VERIFY_WITH_TIMEOUT(model->hasResult(), 20000);
    }

    void type(const QString& text) {
        for (const QChar letter : text) {
            QTest::keyClick(&view, letter.toLatin1());
        }
    }

    // Opens the save dialog from the keyboard and replaces the name in its field by typing.
    void openSaveDialogAndType(const QString& name) {
        QTest::keySequence(&view, QKeySequence::Save);
        QTRY_VERIFY(named(u"fileNameTextField"_s));
        click(named(u"fileNameTextField"_s));
        QTest::keySequence(&view, QKeySequence::SelectAll);
        type(name);
    }
};

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void aTypedNameIsSavedInTheShownFolder() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();

        window.openSaveDialogAndType(u"Renamed.pdf"_s);
        QCOMPARE(window.named(u"dialogTitleBarLabel"_s)->property("text").toString(),
                 u"Save a Copy"_s);
        QVERIFY(window.button(u"Save"_s));
        window.click(window.button(u"Save"_s));

        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"Renamed.pdf"_s));
        QVERIFY(QFile::exists(window.documents(u"Renamed.pdf"_s)));
    }

    // Ctrl+S, a name, Return: the name field has the keys with the name before its extension
    // selected, and a whole name typed without an extension gets the type's.
    void theKeyboardAloneSavesUnderATypedName() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();

        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_COMPARE(window.focusedName(), u"fileNameTextField"_s);
        QCOMPARE(window.view.activeFocusItem()->property("selectedText").toString(), u"Song"_s);
        QTest::keySequence(&window.view, QKeySequence::SelectAll);
        window.type(u"My Score"_s);
        QTest::keyClick(&window.view, Qt::Key_Return);

        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"My Score.pdf"_s));
        QVERIFY(QFile::exists(window.documents(u"My Score.pdf"_s)));
    }

    // A path typed with its folders is saved in that folder, whether Return or the keypad's
    // Enter confirms it; the MusicXML gets its own extension.
    void aTypedPathIsSavedInItsFolder() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();

        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_COMPARE(window.focusedName(), u"fileNameTextField"_s);
        window.type(window.documents(u"Scores/Renamed"_s));
        QTest::keyClick(&window.view, Qt::Key_Return);
        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"Scores/Renamed.pdf"_s));

        window.click(window.named(u"musicXMLButton"_s));
        QTRY_COMPARE(window.focusedName(), u"fileNameTextField"_s);
        QTest::keySequence(&window.view, QKeySequence::SelectAll);
        window.type(u"~/Documents/Scores/Tune"_s);
        QTest::keyClick(&window.view, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"Scores/Tune.musicxml"_s));
        QVERIFY(QFile::exists(window.documents(u"Scores/Tune.musicxml"_s)));
    }

    void openingAnotherFolderKeepsTheName() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();

        QTest::keySequence(&window.view, QKeySequence::Save);
        QTRY_VERIFY(window.named(u"fileDialogListView"_s));
        QQuickItem* scores = nullptr;
        QTRY_VERIFY((scores = window.find([](QQuickItem* item) {
            return item->property("fileName").toString() == u"Scores"_s;
        })));
        window.click(scores, 2);
        QTRY_VERIFY(window.find([](QQuickItem* item) {
            return item->objectName() == u"fileNameTextField"_s &&
                   item->property("text").toString() == u"Song.pdf"_s;
        }));
        QVERIFY(window.button(u"Save"_s)->isEnabled());
        window.click(window.button(u"Save"_s));

        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"Scores/Song.pdf"_s));
        QVERIFY(QFile::exists(window.documents(u"Scores/Song.pdf"_s)));
    }

    void aTypedFolderThatDoesNotExistSaysWhy() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();
        window.openSaveDialogAndType(window.documents(u"Scores/Renamed.pdf"_s));
        window.click(window.button(u"Save"_s));
        QTRY_COMPARE(window.status(), u"Saved to "_s + window.documents(u"Scores/Renamed.pdf"_s));

        window.openSaveDialogAndType(window.documents(u"No such folder/Copy.pdf"_s));
        window.click(window.button(u"Save"_s));

        QTRY_VERIFY(window.status().startsWith(u"Could not save: "_s));
        QVERIFY(window.status().size() > u"Could not save: "_s.size());
    }

    void replacingAFileAsksFirst() {
        Window window;
        QVERIFY(window.ready());
        window.convertOnce();
        // A name that would be a link if the question drew it as markup.
        const QString oldName = u"<a href=\"x:y\">Old.pdf"_s;
        const QString existing = window.documents(oldName);
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
        file.close();

        window.openSaveDialogAndType(oldName);
        window.click(window.button(u"Save"_s));
        QObject* question = window.view.rootObject()->findChild<QObject*>(u"replaceDialog"_s);
        QTRY_VERIFY(question->property("opened").toBool());
        QQuickItem* heading = window.named(u"replaceQuestion"_s);
        QCOMPARE(heading->property("text").toString(),
                 u"“"_s + oldName + u"” already exists. Do you want to replace it?"_s);
        for (qreal x = 0; x < heading->width(); x += 4) {
            QString link;
            QVERIFY(QMetaObject::invokeMethod(heading, "linkAt", Q_RETURN_ARG(QString, link),
                                              Q_ARG(qreal, x), Q_ARG(qreal, 6)));
            QVERIFY(link.isEmpty());
        }
        window.click(window.named(u"replaceCancelButton"_s));
        QTRY_VERIFY(!window.named(u"replaceQuestion"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
        file.close();
        QVERIFY(!window.status().startsWith(u"Saved to"_s));

        window.openSaveDialogAndType(oldName);
        window.click(window.button(u"Save"_s));
        QTRY_VERIFY(question->property("opened").toBool());
        window.click(window.named(u"replaceButton"_s));
        QTRY_COMPARE(window.status(), u"Saved to "_s + existing);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
    }

    void theOpenDialogListsMIDIFilesInAnyCase() {
        Window window;
        QVERIFY(window.ready());
        window.engines.writeMidi(u"SONG.MID"_s);
        window.engines.writeMidi(u"Waltz.Midi"_s);
        window.engines.writeFile(u"notes.txt"_s, "not music");

        QTest::keySequence(&window.view, QKeySequence::Open);
        QObject* dialog = window.view.rootObject()->findChild<QObject*>(u"openDialog"_s);
        QVERIFY(dialog);
        dialog->setProperty("currentFolder", QUrl::fromLocalFile(window.engines.path({})));
        const auto listed = [&](const QString& name) {
            return window.find([&](QQuickItem* item) {
                return item->property("fileName").toString() == name;
            }) != nullptr;
        };
        QTRY_VERIFY(listed(u"SONG.MID"_s));
        QVERIFY(listed(u"Waltz.Midi"_s));
        QVERIFY(!listed(u"notes.txt"_s));
        const QQuickItem* filter =
            window.find([](QQuickItem* item) { return item->inherits("QQuickComboBox"); });
        QVERIFY(filter);
        QCOMPARE(filter->property("displayText").toString(), u"MIDI files"_s);
    }

    void aClickBesideTheDialogNeitherClosesItNorReachesTheScreen() {
        Window window;
        QVERIFY(window.ready());
        window.model->setEngine(velmarto::ConversionEngine::museScoreOnly);
        QTest::keySequence(&window.view, QKeySequence::Open);
        QTRY_VERIFY(window.named(u"fileDialogListView"_s));

        // The Best segment's left end lies beside the dialog.
        const QQuickItem* best = window.named(u"bestSegment"_s);
        QSignalSpy engineChanges(window.model.get(), &velmarto::ContentViewModel::engineChanged);
        QTest::mouseClick(&window.view, Qt::LeftButton, {},
                          best->mapToScene(QPointF(8, best->height() / 2)).toPoint());
        QVERIFY(!engineChanges.wait(200));

        QCOMPARE(window.model->engine(), velmarto::ConversionEngine::museScoreOnly);
        QVERIFY(window.named(u"fileDialogListView"_s));
        QTest::keyClick(&window.view, Qt::Key_Escape);
        QTRY_VERIFY(!window.named(u"fileDialogListView"_s));
    }

private:
    velmarto::test::IsolatedSettings m_settings{u"filedialogs"_s};
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
