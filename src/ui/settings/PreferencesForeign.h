#pragma once

#include "ui/settings/Preferences.h"

#include <QJSEngine>
#include <QQmlEngine>
#include <QtQml/qqmlregistration.h>

namespace velmarto {

// Hands every QML engine the one shared Preferences, so that all windows bind to the same object.
class PreferencesForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::Preferences)
    QML_NAMED_ELEMENT(Preferences)
    QML_SINGLETON

public:
    static Preferences* create(QQmlEngine*, QJSEngine*) {
        Preferences* shared = &Preferences::shared();
        QJSEngine::setObjectOwnership(shared, QJSEngine::CppOwnership);
        return shared;
    }
};

} // namespace velmarto
