#include "core/conversion/EngineLocator.h"

#include <QFileInfo>

namespace velmarto {

using namespace Qt::StringLiterals;

EngineLocator::EngineLocator(QStringList museScoreCandidates, QStringList toolDirectories)
    : m_museScoreCandidates(std::move(museScoreCandidates))
    , m_toolDirectories(std::move(toolDirectories)) {}

EngineLocator::EngineLocator(const PlatformProfile& profile)
    : EngineLocator(profile.museScoreCandidates, profile.toolDirectories) {}

bool EngineLocator::isExecutableFile(const QString& path) {
    // A directory with its search bit set is not a program; treating it as one would only move
    // the failure to a confusing launch error.
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

std::optional<QString> EngineLocator::locateMuseScore() const {
    for (const QString& candidate : m_museScoreCandidates) {
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<QString> EngineLocator::locate(const QString& name) const {
    for (const QString& directory : m_toolDirectories) {
        const QString path = directory + u'/' + name;
        if (isExecutableFile(path)) {
            return path;
        }
    }
    return std::nullopt;
}

QStringList EngineLocator::directories() const {
    QStringList directories = m_toolDirectories;
    for (const QString& candidate : m_museScoreCandidates) {
        directories.append(QFileInfo(candidate).path());
    }
    directories.removeDuplicates();
    return directories;
}

InstalledEngines EngineLocator::installedEngines() const {
    return {
        .museScore = locateMuseScore().has_value(),
        .musicxml2ly = locate(u"musicxml2ly"_s).has_value(),
        .lilypond = locate(u"lilypond"_s).has_value(),
    };
}

} // namespace velmarto
