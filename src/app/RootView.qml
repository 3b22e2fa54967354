pragma ComponentBehavior: Bound
import QtQuick
import Velmarto

// Fills the window and shows one of three things, decided again whenever the model changes:
// engine setup until the engines are ready, sign-in while nobody is signed in, the tabs
// otherwise.
Item {
    id: root

    required property RootViewModel model

    implicitWidth: 860
    implicitHeight: 600

    Loader {
        objectName: "rootContent"
        anchors.fill: parent
        focus: true
        sourceComponent: !root.model.enginesReady ? setupScreen : root.model.session.isSignedIn ? mainTabs : signIn
    }

    Component {
        id: setupScreen

        SetupScreen {
            model: root.model
            onReady: root.model.finishSetup()
        }
    }

    Component {
        id: signIn

        AuthView {
            session: root.model.session
        }
    }

    Component {
        id: mainTabs

        MainTabs {
            model: root.model
        }
    }
}
