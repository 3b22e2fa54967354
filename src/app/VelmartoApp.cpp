#include "app/VelmartoApp.h"

#include "ui/convert/ContentViewLoader.h"
#include "ui/convert/ContentViewModel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QQuickView>

namespace velmarto {

using namespace Qt::StringLiterals;

void VelmartoApp::configureApplication() {
    QCoreApplication::setOrganizationName(u"velmarto"_s);
    QCoreApplication::setOrganizationDomain(u"local.com"_s);
    QCoreApplication::setApplicationName(u"velmarto"_s);
    QGuiApplication::setApplicationDisplayName(u"Velmarto"_s);
}

VelmartoApp::VelmartoApp(QObject* parent)
    : QObject(parent) {
    // The accent tints the standard controls: selections, focus frames, highlighted items.
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Highlight, QColor::fromRgbF(0.42f, 0.36f, 1.0f));
    QGuiApplication::setPalette(palette);
}

bool VelmartoApp::openWindow() {
    auto view = std::make_unique<QQuickView>(&m_engine, nullptr);
    auto* model = new ContentViewModel(view.get());
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

} // namespace velmarto
