#pragma once

#include "core/conversion/Converter.h"
#include "core/conversion/EngineStatus.h"
#include "core/platform/FileRevealer.h"
#include "core/settings/Preferences.h"
#include "qml/app/ViewLoader.h"
#include "qml/convert/ContentViewModel.h"

#include <QQuickView>

// The Convert tab built as the application builds it, on the installed engines, in a window of
// the size the figures were taken at.
struct ConvertTabOnScreen {
    explicit ConvertTabOnScreen(const velmarto::Converter& converter)
        : model(converter, &preferences, &revealer, &engines, nullptr) {}

    bool show() {
        using namespace Qt::StringLiterals;
        if (!velmarto::loadView(view, u"convert/ContentView.qml"_s,
                                {{u"model"_s, QVariant::fromValue(&model)}})) {
            return false;
        }
        view.resize(1100, 720);
        view.show();
        return true;
    }

    velmarto::Preferences preferences;
    velmarto::FileRevealer revealer{velmarto::PlatformProfile::current()};
    velmarto::EngineStatus engines{velmarto::EngineLocator(velmarto::PlatformProfile::current())};
    velmarto::ContentViewModel model;
    // Last, so that the window goes before the model it shows.
    QQuickView view;
};
