#include "app/VelmartoApp.h"

#include "core/accounts/Session.h"
#include "core/settings/Preferences.h"
#include "qml/app/RootViewModel.h"
#include "qml/app/ViewLoader.h"
#include "qml/convert/ContentViewModel.h"
#include "qml/settings/SettingsViewModel.h"

#include <QCoreApplication>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QQuickView>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// Every size a task bar, a window switcher or a title bar asks for; under X11 Qt hands them all
// to the window manager as _NET_WM_ICON.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(u":/velmarto/icons/velmarto-%1.png"_s.arg(size), QSize(size, size));
    }
    return icon;
}

// The desktop's dark-style preference where the platform palette does not follow it by itself.
std::unique_ptr<PortalColorScheme> desktopColorScheme(const QDBusConnection& bus) {
#ifdef Q_OS_MACOS
    Q_UNUSED(bus);
    return nullptr;
#else
    return std::make_unique<PortalColorScheme>(bus);
#endif
}

} // namespace

void VelmartoApp::configureApplication() {
    QCoreApplication::setOrganizationName(u"velmarto"_s);
    QCoreApplication::setOrganizationDomain(u"local.com"_s);
    QCoreApplication::setApplicationName(u"velmarto"_s);
    QGuiApplication::setApplicationDisplayName(u"Velmarto"_s);
    // Wayland's app id and the entry X11 task bars look up: they take the name and the icon from
    // the installed desktop entry of that name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMARTO_APP_ID));
}

VelmartoApp::VelmartoApp(AppEnvironment environment, QObject* parent)
    : QObject(parent)
    , m_environment(std::move(environment))
    , m_notifier(m_environment.desktopBus, QStringLiteral(VELMARTO_APP_ID))
    , m_desktopColorScheme(desktopColorScheme(m_environment.desktopBus))
    , m_colorScheme(m_preferences, m_desktopColorScheme.get()) {
    QGuiApplication::setWindowIcon(applicationIcon());
    QCoreApplication::instance()->installEventFilter(this);
    // Engines installed or removed while the user was elsewhere (a terminal, a package manager)
    // show as soon as a window is back in use.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, &m_engineStatus,
            [this](const QWindow* focused) {
                if (focused) {
                    m_engineStatus.refresh();
                }
            });
}

QString VelmartoApp::fileToOpen(const QStringList& arguments) {
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == u"--"_s) {
            return arguments.value(index + 1);
        }
        if (!argument.startsWith(u'-')) {
            return argument;
        }
    }
    return {};
}

bool VelmartoApp::openWindow(const QString& fileToOpen) {
    auto view = std::make_unique<QQuickView>(&m_engine, nullptr);
    QQuickView* window = view.get();
    auto* root = new RootViewModel(
        m_environment.profile.setup,
        {.session = new Session(m_environment.sessionDependencies(), window),
         .preferences = &m_preferences,
         .engines = &m_engineStatus,
         .newContent =
             [this](QObject* parent) {
                 return new ContentViewModel(m_converter, &m_preferences, &m_revealer,
                                             &m_engineStatus, &m_notifier, parent);
             },
         .settings = new SettingsViewModel(m_environment.profile.appearanceCaption,
                                           m_environment.profile.revealAfterConvertLabel, window)},
        window);
    if (!fileToOpen.isEmpty()) {
        root->contentModel()->openGivenFile(fileToOpen);
    }
    window->setTitle(root->windowTitle());
    connect(root, &RootViewModel::windowTitleChanged, window,
            [window, root] { window->setTitle(root->windowTitle()); });
    window->setMinimumSize(QSize(860, 600));
    window->resize(1100, 720);
    root->appear();
    if (!loadView(*window, u"app/RootView.qml"_s, {{u"model"_s, QVariant::fromValue(root)}})) {
        return false;
    }
    window->setColor(QGuiApplication::palette().color(QPalette::Window));
    connect(new QShortcut(QKeySequence::New, window), &QShortcut::activated, this,
            [this] { openWindow(); });
    connect(root, &RootViewModel::newWindowRequested, this, [this] { openWindow(); });
    connect(new QShortcut(QKeySequence::Close, window), &QShortcut::activated, window,
            &QWindow::close);
    // Ctrl+Q (Command+Q on macOS) on every desktop: the standard Quit key is empty on platforms
    // without a convention for it, the offscreen one included.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window), &QShortcut::activated, root,
            [this, root] { quit(root); });
    connect(root, &RootViewModel::quitConfirmed, qApp, &QCoreApplication::quit);
    // A window is hidden only by closing it.
    connect(window, &QWindow::visibleChanged, this, [this, window](bool visible) {
        if (!visible) {
            closeWindow(window);
        }
    });
    window->show();
    m_windows.push_back(std::move(view));
    return true;
}

void VelmartoApp::quit(RootViewModel* askingWindow) {
    const bool isConverting = std::ranges::any_of(m_windows, [](const auto& window) {
        const auto* model = window->template findChild<RootViewModel*>();
        return model && model->contentModel()->isConverting();
    });
    if (isConverting) {
        askingWindow->askToQuit();
    } else {
        QCoreApplication::quit();
    }
}

void VelmartoApp::closeWindow(QQuickView* window) {
    const auto closed = std::ranges::find(m_windows, window, &std::unique_ptr<QQuickView>::get);
    if (closed != m_windows.end()) {
        closed->release()->deleteLater();
        m_windows.erase(closed);
    }
}

bool VelmartoApp::eventFilter(QObject* watched, QEvent* event) {
    // Whatever a screen leaves unpainted shows the window's own colour, which follows the scheme.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        if (auto* window = qobject_cast<QQuickView*>(watched)) {
            window->setColor(QGuiApplication::palette().color(QPalette::Window));
        }
    }
    if (event->type() == QEvent::FileOpen && !m_windows.empty()) {
        if (auto* model = m_windows.back()->findChild<RootViewModel*>()) {
            model->contentModel()->openGivenFile(static_cast<QFileOpenEvent*>(event)->file());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmarto
