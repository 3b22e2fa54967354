#pragma once

#include "core/conversion/EngineLocator.h"
#include "core/conversion/InstalledEngines.h"

#include <QFileSystemWatcher>
#include <QObject>

namespace velmarto {

// Which engines are installed, as every screen shows it. The application keeps one and hands it
// to each screen that shows or needs the engines. It looks again by itself when a file changes
// in one of the install folders that exist (a package manager run in a terminal), and whoever
// has reason to think the disk changed otherwise (the window coming back into use, an
// installer's run ending, a conversion ending) asks it to. Looking only reads file metadata at
// the fixed install locations, so it is cheap enough for the main thread. Lives on the main
// thread.
class EngineStatus : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool museScore READ museScore NOTIFY changed)
    Q_PROPERTY(bool musicxml2ly READ musicxml2ly NOTIFY changed)
    Q_PROPERTY(bool lilypond READ lilypond NOTIFY changed)
    Q_PROPERTY(bool allReady READ allReady NOTIFY changed)

public:
    // Looks at the disk straight away.
    explicit EngineStatus(EngineLocator locator, QObject* parent = nullptr);

    const InstalledEngines& installed() const { return m_installed; }
    bool museScore() const { return m_installed.museScore; }
    bool musicxml2ly() const { return m_installed.musicxml2ly; }
    bool lilypond() const { return m_installed.lilypond; }
    bool allReady() const { return m_installed.allReady(); }

    // Looks at the disk again; emits changed when an engine came or went.
    void refresh();

signals:
    void changed();

private:
    EngineLocator m_locator;
    InstalledEngines m_installed;
    QFileSystemWatcher m_installFolders;
};

} // namespace velmarto
