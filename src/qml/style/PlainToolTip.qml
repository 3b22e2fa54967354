import QtQuick
import QtQuick.Controls.Basic

// A tooltip that shows its text as it is: a file name from outside may look like markup.
ToolTip {
    id: tip

    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font: tip.font
        wrapMode: Text.Wrap
        color: tip.palette.toolTipText
    }
}
