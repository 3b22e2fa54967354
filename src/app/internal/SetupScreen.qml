import QtQuick
import Velmarto

// A setup screen with an installer of its own, made when the screen is built and destroyed with
// it, so that no output or state of an earlier screen shows again.
Item {
    id: screen

    required property RootViewModel model

    signal ready

    SetupView {
        objectName: "setupView"
        anchors.fill: parent
        focus: true
        installer: screen.model.newInstaller(screen)
        onReady: screen.ready()
    }
}
