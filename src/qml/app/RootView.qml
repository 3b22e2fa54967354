import QtQuick
import Velmarto

// Fills the window and shows one of three things, decided again whenever the model changes:
// engine setup until the engines are ready, sign-in while nobody is signed in, the tabs
// otherwise; over any of them, the question before quitting while a conversion runs.
Item {
    id: root

    required property RootViewModel model
    readonly property string screen: !model.enginesReady ? "setup" : model.session.isSignedIn ? "tabs" : "signIn"

    implicitWidth: 860
    implicitHeight: 600
    onScreenChanged: content.show()

    Loader {
        id: content

        // The screen on show, so that it is built once however often the choice is made again.
        property string shown

        // Each screen is loaded with its required properties; a Loader of Qt 6.4 cannot build a
        // component that reaches back into this file.
        function show() {
            if (root.screen === shown)
                return;
            shown = root.screen;
            if (root.screen === "setup")
                setSource("internal/SetupScreen.qml", {
                        "model": root.model
                    });
            else if (root.screen === "signIn")
                setSource("../accounts/AuthView.qml", {
                        "session": root.model.session
                    });
            else
                setSource("internal/MainTabs.qml", {
                        "model": root.model
                    });
        }

        objectName: "rootContent"
        anchors.fill: parent
        focus: true
        Component.onCompleted: show()
    }
    QuitQuestion {
        model: root.model
    }
}
