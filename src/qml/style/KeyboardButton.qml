import QtQuick
import QtQuick.Controls.Basic

// A button that Return and Enter press as Space does, once the keyboard is on it.
Button {
    id: control

    Keys.onReturnPressed: control.clicked()
    Keys.onEnterPressed: control.clicked()
}
