import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T

// A ScrollView that brings the control Tab or Shift+Tab moves to into view, so that the keyboard
// can walk a form taller than the window: Qt's own ScrollView leaves a focused control below the
// fold. Focus that moves for any other reason (a click, a button that turns disabled) leaves the
// view where the user put it.
ScrollView {
    id: view

    // Room kept between the focused control and the edge it is scrolled to, for its focus ring.
    readonly property real focusMargin: 8

    function reveal(item: Item) {
        const flickable = view.contentItem as Flickable;
        const control = item as T.Control;
        if (!flickable || !control || (control.focusReason !== Qt.TabFocusReason && control.focusReason !== Qt.BacktabFocusReason))
            return;
        let ancestor = item.parent;
        while (ancestor && ancestor !== flickable.contentItem)
            ancestor = ancestor.parent;
        if (!ancestor)
            return;
        const box = item.mapToItem(flickable.contentItem, 0, 0, item.width, item.height);
        // The control's foot first, then its head, so a control taller than the view shows its top.
        let top = flickable.contentY;
        if (box.y + box.height + focusMargin > top + flickable.height)
            top = box.y + box.height + focusMargin - flickable.height;
        if (box.y - focusMargin < top)
            top = box.y - focusMargin;
        top = Math.max(0, Math.min(flickable.contentHeight - flickable.height, top));
        if (top !== flickable.contentY)
            flickable.contentY = top;
    }

    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() {
            view.reveal(view.Window.activeFocusItem);
        }
    }
}
