// Runs the session's account operations against the real Secret Service from the sign-in screen
// in an offscreen window, and prints how long each one keeps the user waiting and the longest gap
// the main thread left between timer ticks meanwhile. Run it inside a D-Bus session with a
// keyring (scripts/with-test-keyring); the accounts item is removed afterwards.

#include "FakeCodeDelivery.h"
#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/Session.h"
#include "qml/app/ViewLoader.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

Q_IMPORT_QML_PLUGIN(VelmartoPlugin)

using namespace Qt::StringLiterals;
using namespace velmarto;

namespace {

struct Figures {
    std::vector<qint64> durations;
    std::vector<qint64> tickGaps;
};

qint64 median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(u"config"_s)));
    QGuiApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(u"org.freedesktop.secrets"_s)) {
        std::puts("skipped: no Secret Service on the session bus");
        return 0;
    }
    const auto keychain = std::make_shared<KeychainSecretStore>();
    const QString service = u"com.local.velmarto.accounts"_s;
    const QString key = u"accounts-db-v1"_s;
    if (!std::holds_alternative<SecretStore::Missing>(keychain->read(service, key))) {
        std::puts("skipped: the keyring already holds Velmarto's accounts");
        return 0;
    }

    const PreferenceStore preferences(folder.filePath(u"preferences.ini"_s));
    const auto delivery = std::make_shared<test::FakeCodeDelivery>();
    Session session(SessionDependencies{
        .accounts = AccountStore(keychain, preferences),
        .preferences = preferences,
        .delivery = delivery,
        .mail = MailProfile::freedesktop(),
        .clock = [] { return QDateTime::currentDateTimeUtc(); },
        .codeGenerator = [] { return 123456U; },
    });
    QQuickView view;
    if (!loadView(view, u"accounts/AuthView.qml"_s,
                  {{u"session"_s, QVariant::fromValue(&session)}})) {
        return 1;
    }
    view.resize(900, 720);
    view.show();

    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = clock.elapsed();
    qint64 longestTickGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 now = clock.elapsed();
        longestTickGap = std::max(longestTickGap, now - lastTick);
        lastTick = now;
    });
    ticker.start();

    std::map<QString, Figures> figures;
    const auto measure = [&](const QString& name, const std::function<bool()>& operation) {
        QElapsedTimer waited;
        longestTickGap = 0;
        lastTick = clock.elapsed();
        waited.start();
        const bool succeeded = operation();
        figures[name].durations.push_back(waited.elapsed());
        figures[name].tickGaps.push_back(std::max(longestTickGap, clock.elapsed() - lastTick));
        if (!succeeded) {
            std::printf("%s failed: %s\n", qPrintable(name), qPrintable(session.lastError()));
        }
        // Let the window settle between operations.
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    };

    for (int round = 0; round < rounds; ++round) {
        const QString email = u"user%1@example.com"_s.arg(round);
        const QString code = u"123456"_s;
        measure(u"beginSignUp (read)"_s, [&] { return session.beginSignUp(email, u"secret"_s); });
        measure(u"verify sign-up (read, delete, add)"_s, [&] { return session.verify(code); });
        session.signOut();
        measure(u"signIn (read)"_s, [&] { return session.signIn(email, u"secret"_s); });
        session.signOut();
        measure(u"beginReset (read)"_s, [&] { return session.beginReset(email); });
        measure(u"verify reset (read, delete, add)"_s,
                [&] { return session.verify(code, u"changed"_s); });
        session.signOut();
    }
    keychain->remove(service, key);

    std::printf("%d rounds\n", rounds);
    std::printf("%-36s %14s %14s %18s\n", "operation", "median ms", "longest ms",
                "longest tick gap");
    for (const auto& [name, values] : figures) {
        std::printf("%-36s %14lld %14lld %15lld ms\n", qPrintable(name),
                    static_cast<long long>(median(values.durations)),
                    static_cast<long long>(
                        *std::max_element(values.durations.begin(), values.durations.end())),
                    static_cast<long long>(
                        *std::max_element(values.tickGaps.begin(), values.tickGaps.end())));
    }
    return 0;
}
