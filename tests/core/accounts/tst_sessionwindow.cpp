#include "FakeCodeDelivery.h"
#include "FakeSecretStore.h"
#include "core/accounts/Session.h"

#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace Qt::StringLiterals;
using namespace velmarto;

// A window on the same thread as a session that waits for a slow keychain, as behind an unlock
// prompt nobody answers. The wait used to block the thread, and the window stopped painting.
class TestSessionWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_directory;

private slots:
    void windowKeepsPaintingWhileTheKeychainTakesThreeSeconds() {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            Window {
                width: 200; height: 200; visible: true
                Rectangle {
                    anchors.centerIn: parent; width: 100; height: 100; color: "steelblue"
                    RotationAnimation on rotation {
                        from: 0; to: 360; duration: 1000; loops: Animation.Infinite
                    }
                }
            })",
                          QUrl());
        const std::unique_ptr<QObject> root(component.create());
        auto* window = qobject_cast<QQuickWindow*>(root.get());
        QVERIFY2(window, qPrintable(component.errorString()));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        std::atomic<int> frames = 0;
        connect(
            window, &QQuickWindow::frameSwapped, this, [&frames] { ++frames; },
            Qt::DirectConnection);
        QTRY_VERIFY(frames > 0);

        const PreferenceStore preferences(m_directory.filePath(u"preferences.ini"_s));
        const auto secrets = std::make_shared<test::FakeSecretStore>();
        Session session(SessionDependencies{
            .accounts = AccountStore(secrets, preferences),
            .preferences = preferences,
            .delivery = std::make_shared<test::FakeCodeDelivery>(),
            .mail = MailProfile::freedesktop(),
            .clock = [] { return QDateTime::currentDateTimeUtc(); },
            .codeGenerator = [] { return 0U; },
        });
        secrets->readDelay = std::chrono::milliseconds(3'000);
        const int framesBefore = frames;
        QElapsedTimer elapsed;
        elapsed.start();

        QVERIFY(!session.signIn(u"ann@example.com"_s, u"secret"_s));

        QVERIFY(elapsed.elapsed() >= 3'000);
        QCOMPARE(session.lastError(), u"No account found for that email."_s);
        // An animation asks for a frame on every vsync tick; a third of that is plenty.
        QVERIFY2(frames - framesBefore >= 60, qPrintable(QString::number(frames - framesBefore)));
    }
};

QTEST_MAIN(TestSessionWindow)
#include "tst_sessionwindow.moc"
