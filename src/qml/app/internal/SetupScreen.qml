import QtQuick
import Velmarto

// A setup screen with an installer of its own, made when the screen is built and destroyed with
// it, so that no output or state of an earlier screen shows again. Its way on goes to the model,
// which closes the sheet it shows in, or lets the main screens show.
Item {
    id: screen

    required property RootViewModel model

    SetupView {
        objectName: "setupView"
        anchors.fill: parent
        focus: true
        installer: screen.model.newInstaller(screen)
        engines: screen.model.engines
        onReady: screen.model.finishSetup()
    }
}
