#include "ConvertScreen.h"

#include "core/conversion/Converter.h"

namespace velmarto::test {

using namespace Qt::StringLiterals;

ConvertScreen::ConvertScreen(Engines which, FileRequests requests) {
    if (which == Engines::Installed) {
        revealer = std::make_unique<FileRevealer>(PlatformProfile::current());
        status = std::make_unique<EngineStatus>(EngineLocator(PlatformProfile::current()));
        model = std::make_unique<ContentViewModel>(Converter(), &preferences, revealer.get(),
                                                   status.get(), &notifier);
    } else {
        engines.installWorkingEngines();
        PlatformProfile revealProfile = PlatformProfile::macOS();
        revealProfile.revealProgram = engines.writeScript(u"reveal"_s, u"exit 0"_s);
        revealer = std::make_unique<FileRevealer>(revealProfile);
        status = std::make_unique<EngineStatus>(EngineLocator(engines.profile()));
        model = std::make_unique<ContentViewModel>(Converter(engines.profile()), &preferences,
                                                   revealer.get(), status.get(), &notifier);
    }
    if (requests == FileRequests::Scripted) {
        chooser.attach(model.get());
    }
}

QUrl ConvertScreen::midi(const QString& name) {
    return QUrl::fromLocalFile(engines.writeMidi(name));
}

} // namespace velmarto::test
