// A stand-in for the XDG desktop portal's Settings interface, run as its own process on a test's
// private bus. Arguments: the bus address and the first "color-scheme" value. It prints "ready"
// once it owns the portal's name, then takes commands on standard input, one a line:
//   set VALUE                  store a new colour scheme and announce it with SettingChanged
//   other NAMESPACE KEY VALUE  announce a change of some other setting

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString service = u"org.freedesktop.portal.Desktop"_s;
const QString path = u"/org/freedesktop/portal/desktop"_s;
const QString interface = u"org.freedesktop.portal.Settings"_s;
const QString appearanceNamespace = u"org.freedesktop.appearance"_s;
const QString colorSchemeKey = u"color-scheme"_s;

} // namespace

class PortalSettings : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint colorScheme = 0;

public slots:
    // The portal wraps the value in one variant more than SettingChanged carries.
    Q_SCRIPTABLE QDBusVariant Read(const QString& settingNamespace, const QString& key) {
        if (settingNamespace != appearanceNamespace || key != colorSchemeKey) {
            sendErrorReply(u"org.freedesktop.portal.Error.NotFound"_s,
                           u"Requested setting not found"_s);
            return {};
        }
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant::fromValue(colorScheme))));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: fake_desktop_portal BUS-ADDRESS COLOR-SCHEME\n", stderr);
        return 2;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]), u"portal"_s);
    PortalSettings settings;
    settings.colorScheme = QString::fromLocal8Bit(argv[2]).toUInt();
    if (!bus.registerObject(path, &settings, QDBusConnection::ExportScriptableSlots) ||
        !bus.registerService(service)) {
        std::fputs("cannot serve the portal\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);

    const auto announce = [&bus](const QString& settingNamespace, const QString& key, uint value) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, u"SettingChanged"_s);
        signal << settingNamespace << key
               << QVariant::fromValue(QDBusVariant(QVariant::fromValue(value)));
        bus.send(signal);
    };
    // Read straight from the descriptor: a buffered stream would take several commands at once
    // and leave the notifier silent about the ones it holds.
    QByteArray pending;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, &application, [&] {
        char buffer[512];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            application.quit();
            return;
        }
        pending.append(buffer, count);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QStringList words =
                QString::fromUtf8(pending.left(end)).split(u' ', Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            if (words.size() == 2 && words[0] == u"set"_s) {
                settings.colorScheme = words[1].toUInt();
                announce(appearanceNamespace, colorSchemeKey, settings.colorScheme);
            } else if (words.size() == 4 && words[0] == u"other"_s) {
                announce(words[1], words[2], words[3].toUInt());
            }
        }
    });
    return application.exec();
}

#include "fake_desktop_portal.moc"
