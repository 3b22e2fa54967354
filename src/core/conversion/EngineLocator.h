#pragma once

#include "core/conversion/InstalledEngines.h"
#include "core/platform/PlatformProfile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmarto {

// Finds the engines at the platform's fixed install locations. It never searches PATH: an engine
// counts as installed only as an executable file at one of those places. Every call looks at the
// disk afresh, so an installation is seen without a restart.
class EngineLocator {
public:
    EngineLocator(QStringList museScoreCandidates, QStringList toolDirectories);
    // At the profile's locations.
    explicit EngineLocator(const PlatformProfile& profile);

    [[nodiscard]] std::optional<QString> locateMuseScore() const;
    [[nodiscard]] std::optional<QString> locate(const QString& name) const;
    InstalledEngines installedEngines() const;
    // The folders the engines are looked for in, each once, whether or not they exist.
    QStringList directories() const;

    static bool isExecutableFile(const QString& path);

private:
    QStringList m_museScoreCandidates;
    QStringList m_toolDirectories;
};

} // namespace velmarto
