#pragma once

#include "QuickItemSearch.h"
#include "SessionFixture.h"
#include "core/conversion/Converter.h"
#include "core/conversion/EngineStatus.h"
#include "core/platform/FileRevealer.h"
#include "core/settings/Preferences.h"
#include "qml/app/RootViewModel.h"
#include "qml/app/ViewLoader.h"
#include "qml/convert/ContentViewModel.h"
#include "qml/settings/SettingsViewModel.h"
#include "support/FakeEngines.h"

#include <QFile>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

#include <memory>

namespace velmarto::test {

using namespace Qt::StringLiterals;

// One application window as the application builds it, in a real (offscreen) window, over fake
// engines and sessions that share an in-memory keychain.
class RootWindow {
public:
    FakeEngines engines;
    SessionFixture accounts;
    Preferences preferences;

    RootWindow() { engines.installWorkingEngines(); }

    void removeEngine(const QString& name) { QFile::remove(engines.path(u"bin/"_s + name)); }

    // The first appearance, as the application shows a new window.
    bool open() {
        const PlatformProfile profile = engines.profile();
        m_session = accounts.makeSession();
        m_revealer = std::make_unique<FileRevealer>(profile);
        m_status = std::make_unique<EngineStatus>(EngineLocator(profile));
        m_settings = std::make_unique<SettingsViewModel>(profile.appearanceCaption,
                                                         profile.revealAfterConvertLabel);
        m_model = std::make_unique<RootViewModel>(
            profile.setup,
            RootViewModel::Screens{.session = m_session.get(),
                                   .preferences = &preferences,
                                   .engines = m_status.get(),
                                   .newContent =
                                       [this, converter = Converter(profile)](QObject* parent) {
                                           return new ContentViewModel(
                                               converter, &preferences, m_revealer.get(),
                                               m_status.get(), nullptr, parent);
                                       },
                                   .settings = m_settings.get()});
        m_model->appear();
        if (!loadView(view, u"app/RootView.qml"_s, {{u"model"_s, QVariant::fromValue(model())}})) {
            return false;
        }
        // Tall enough that the Settings tab's last card is in sight without scrolling.
        view.resize(1000, 1300);
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }

    RootViewModel* model() const { return m_model.get(); }
    Session* session() const { return m_session.get(); }

    // "setup", "signIn" or "tabs": what fills the window now.
    QString screen() const {
        const auto* content = view.rootObject()->findChild<QQuickItem*>(u"rootContent"_s);
        const QObject* shown = content->property("item").value<QObject*>();
        const QString type = shown ? QString::fromLatin1(shown->metaObject()->className()) : u""_s;
        if (type.startsWith(u"SetupScreen"_s)) {
            return u"setup"_s;
        }
        if (type.startsWith(u"AuthView"_s)) {
            return u"signIn"_s;
        }
        if (type.startsWith(u"MainTabs"_s)) {
            return u"tabs"_s;
        }
        return type;
    }

    QQuickItem* item(const QString& name) const {
        return visualDescendant(view.contentItem(), name);
    }

    // The tab the strip shows as chosen: "Convert" or "Settings".
    QString currentTab() const {
        for (const QString& tab : {u"Convert"_s, u"Settings"_s}) {
            const QQuickItem* button = item(u"tab-"_s + tab);
            if (button && button->property("selected").toBool()) {
                return tab;
            }
        }
        return {};
    }

    void click(const QString& name) {
        QQuickItem* target = item(name);
        QVERIFY2(target, qPrintable(name));
        const QPointF centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&view, Qt::LeftButton, {}, centre.toPoint());
    }

    // A setup screen's way on, as its "Start Using Velmarto" or skip link would take it.
    void finishSetupScreen(QQuickItem* setupView) {
        QVERIFY(setupView);
        QVERIFY(QMetaObject::invokeMethod(setupView, "ready"));
    }

    // Signs up and verifies an account through the window's session, which signs it in.
    void signUp(const QString& email, const QString& password) {
        QVERIFY(m_session->beginSignUp(email, password));
        QVERIFY(m_session->verify(accounts.delivery->requests.last().code));
    }

private:
    std::unique_ptr<Session> m_session;
    std::unique_ptr<FileRevealer> m_revealer;
    std::unique_ptr<EngineStatus> m_status;
    std::unique_ptr<SettingsViewModel> m_settings;
    std::unique_ptr<RootViewModel> m_model;

public:
    // Last, so that the window goes before the models it shows.
    QQuickView view;
};

} // namespace velmarto::test
