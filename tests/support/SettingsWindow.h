#pragma once

#include "QuickItemSearch.h"
#include "SessionFixture.h"
#include "core/conversion/EngineStatus.h"
#include "core/settings/Preferences.h"
#include "qml/settings/SettingsViewModel.h"
#include "support/FakeEngines.h"

#include <QFile>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

#include <memory>

namespace velmarto::test {

using namespace Qt::StringLiterals;

// The state colours on the light window the tests show.
inline const QColor found = QColor(0x17, 0x69, 0x2c);
inline const QColor missing = QColor(0x80, 0x40, 0x00);

// The Settings tab alone in a real (offscreen) window, signed in, on fake engines.
struct SettingsWindow {
    FakeEngines engines;
    SessionFixture accounts;
    std::unique_ptr<Session> session;
    std::unique_ptr<Preferences> preferences = std::make_unique<Preferences>();
    std::unique_ptr<EngineStatus> status;
    std::unique_ptr<SettingsViewModel> model;
    QQuickView view;

    explicit SettingsWindow(bool withLilyPond = true) {
        engines.installWorkingEngines();
        if (!withLilyPond) {
            QFile::remove(engines.path(u"bin/lilypond"_s));
        }
        accounts.remember(u"ada@example.com"_s);
        session = accounts.makeSession();
        const PlatformProfile profile = engines.profile();
        status = std::make_unique<EngineStatus>(EngineLocator(profile));
        model = std::make_unique<SettingsViewModel>(profile.appearanceCaption,
                                                    profile.revealAfterConvertLabel);
        load();
    }

    void load() {
        view.engine()->addImportPath(u"qrc:/qt/qml"_s);
        view.setResizeMode(QQuickView::SizeRootObjectToView);
        view.setInitialProperties({{u"preferences"_s, QVariant::fromValue(preferences.get())},
                                   {u"session"_s, QVariant::fromValue(session.get())},
                                   {u"model"_s, QVariant::fromValue(model.get())},
                                   {u"engines"_s, QVariant::fromValue(status.get())}});
        view.setSource(QUrl(u"qrc:/qt/qml/Velmarto/settings/SettingsView.qml"_s));
        view.resize(860, 1100);
        view.show();
    }

    bool ready() {
        return view.status() == QQuickView::Ready && QTest::qWaitForWindowExposed(&view);
    }

    QQuickItem* item(const QString& name) const {
        return view.rootObject()->findChild<QQuickItem*>(name);
    }

    // The segments are made by a Repeater, so they are found in the visual tree only.
    QQuickItem* segment(const QString& picker, const QString& value) const {
        return visualDescendant(item(picker), u"segment-"_s + value);
    }

    // The title of the segment the picker shows as chosen; empty when none is.
    QString chosen(const QString& picker) const {
        QString title;
        for (const QString& value :
             {u"system"_s, u"light"_s, u"dark"_s, u"both"_s, u"fast"_s, u"letter"_s, u"a4"_s}) {
            const QQuickItem* candidate = segment(picker, value);
            if (candidate && candidate->property("selected").toBool()) {
                title += candidate->property("text").toString();
            }
        }
        return title;
    }

    void click(QQuickItem* target) {
        QVERIFY(target);
        const QPointF centre =
            target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&view, Qt::LeftButton, {}, centre.toPoint());
    }

    QString engineState(const QString& row) const {
        return item(row)->findChild<QQuickItem*>(u"engineState"_s)->property("text").toString();
    }

    // As #rrggbb: QML keeps colours in floating point, so exact comparisons would fail.
    QString engineColour(const QString& row) const {
        return item(row)
            ->findChild<QQuickItem*>(u"engineState"_s)
            ->property("color")
            .value<QColor>()
            .name();
    }
};

} // namespace velmarto::test
