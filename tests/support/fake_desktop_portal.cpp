// A stand-in for the XDG desktop portal's Settings and FileChooser interfaces, run as its own
// process on a test's private bus. Arguments: the bus address and the first "color-scheme" value.
// It prints "ready" once it owns the portal's name, and a line for each file chooser asked for:
//   OpenFile|SaveFile TAB title TAB current_name TAB the filters' names, comma separated
// It takes commands on standard input, one a line:
//   set VALUE                  store a new colour scheme and announce it with SettingChanged
//   other NAMESPACE KEY VALUE  announce a change of some other setting
//   choose URI                 the user picks URI in the chooser asked for last
//   dismiss                    the user closes that chooser

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
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

// Answers at once with the request's path, and later, when the test says what the user did, with
// the Response signal on that path, as the portal does.
class FileChooser : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    // Qt asks for the chooser only when the portal says which version it serves.
    Q_PROPERTY(uint version READ version CONSTANT)

public:
    explicit FileChooser(QObject* portal)
        : QDBusAbstractAdaptor(portal) {}

    QString lastRequest;

    static uint version() { return 3; }

public slots:
    QDBusObjectPath OpenFile(const QString& /*parentWindow*/, const QString& title,
                             const QVariantMap& options) {
        return request(u"OpenFile"_s, title, options);
    }
    QDBusObjectPath SaveFile(const QString& /*parentWindow*/, const QString& title,
                             const QVariantMap& options) {
        return request(u"SaveFile"_s, title, options);
    }

private:
    QDBusObjectPath request(const QString& method, const QString& title,
                            const QVariantMap& options) {
        lastRequest = u"/org/freedesktop/portal/desktop/request/1_1/"_s +
                      options.value(u"handle_token"_s).toString();
        QStringList filterNames;
        // a(sa(us)): each filter's name and its patterns.
        const auto filters = qvariant_cast<QDBusArgument>(options.value(u"filters"_s));
        if (filters.currentType() == QDBusArgument::ArrayType) {
            filters.beginArray();
            while (!filters.atEnd()) {
                QString name;
                filters.beginStructure();
                filters >> name;
                filters.beginArray();
                while (!filters.atEnd()) {
                    uint kind = 0;
                    QString pattern;
                    filters.beginStructure();
                    filters >> kind >> pattern;
                    filters.endStructure();
                }
                filters.endArray();
                filters.endStructure();
                // Qt keeps the space before the patterns' parenthesis.
                filterNames << name.trimmed();
            }
            filters.endArray();
        }
        std::printf("%s\t%s\t%s\t%s\n", qPrintable(method), qPrintable(title),
                    qPrintable(options.value(u"current_name"_s).toString()),
                    qPrintable(filterNames.join(u',')));
        std::fflush(stdout);
        return QDBusObjectPath(lastRequest);
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
    auto* chooser = new FileChooser(&settings);
    if (!bus.registerObject(path, &settings,
                            QDBusConnection::ExportScriptableSlots |
                                QDBusConnection::ExportAdaptors) ||
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
    // Qt listens for the answer only once the request's reply has reached its main thread, and
    // misses an answer sent before; a user at the chooser never answers that fast.
    const auto respond = [&bus, chooser](uint response, const QVariantMap& results) {
        QDBusMessage signal = QDBusMessage::createSignal(
            chooser->lastRequest, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        signal << response << results;
        QTimer::singleShot(std::chrono::milliseconds(300), [&bus, signal] { bus.send(signal); });
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
            } else if (words.size() == 2 && words[0] == u"choose"_s) {
                respond(0, {{u"uris"_s, QStringList{words[1]}}});
            } else if (words == QStringList{u"dismiss"_s}) {
                respond(1, {});
            }
        }
    });
    return application.exec();
}

#include "fake_desktop_portal.moc"
