#include "app/VelmartoApp.h"

#include "ui/convert/ContentViewLoader.h"
#include "ui/convert/ContentViewModel.h"

#include <QCoreApplication>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QQuickView>

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

VelmartoApp::VelmartoApp(QObject* parent)
    : QObject(parent) {
    // The accent tints the standard controls: selections, focus frames, highlighted items.
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Highlight, QColor::fromRgbF(0.42f, 0.36f, 1.0f));
    QGuiApplication::setPalette(palette);
    QGuiApplication::setWindowIcon(applicationIcon());
    QCoreApplication::instance()->installEventFilter(this);
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
    auto* model = new ContentViewModel(view.get());
    // A closed window stays around hidden; its conversion must not.
    connect(view.get(), &QWindow::visibleChanged, model, [model](bool visible) {
        if (!visible) {
            model->cancel();
        }
    });
    if (!fileToOpen.isEmpty()) {
        model->openGivenFile(fileToOpen);
    }
    view->setTitle(u"Velmarto"_s);
    view->setMinimumSize(QSize(860, 600));
    view->resize(1100, 720);
    if (!ContentViewLoader::load(*view, model)) {
        return false;
    }
    view->show();
    m_windows.push_back(std::move(view));
    return true;
}

bool VelmartoApp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FileOpen && !m_windows.empty()) {
        if (auto* model = m_windows.back()->findChild<ContentViewModel*>()) {
            model->openGivenFile(static_cast<QFileOpenEvent*>(event)->file());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmarto
