#pragma once

#include "core/setup/EngineInstaller.h"

#include <QQmlEngine>
#include <QtQml/qqmlregistration.h>

namespace velmarto {

// Lets the views name the installer's type. Whoever creates a setup screen makes its installer.
class EngineInstallerForeign {
    Q_GADGET
    QML_FOREIGN(velmarto::EngineInstaller)
    QML_NAMED_ELEMENT(EngineInstaller)
    QML_UNCREATABLE("The creator of a setup screen gives it its installer.")
};

} // namespace velmarto
