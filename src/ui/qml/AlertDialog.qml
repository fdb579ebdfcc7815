import QtQuick
import QtQuick.Controls
import Vantorel

// A window-modal alert: a title, a message and an optional smaller detail under it, all shown as
// given, and one "OK" that dismisses it; optionally a second button before it that acts and
// dismisses as well.
Dialog {
    id: dialog

    property string message
    property string detail
    // The second button's text; no second button when empty.
    property string actionText
    // The default button's text.
    property string okText: qsTr("OK")
    signal actionClicked()
    // A tool's error output can run to a megabyte, and laying all of it out would hold up the
    // window for seconds: beyond twice this many characters the alert shows the first and the
    // last of them, with a line saying how many lie between.
    readonly property int shownLength: 32 * 1024
    readonly property string shownMessage: {
        const message = dialog.message
        if (message.length <= 2 * shownLength)
            return message
        let head = message.slice(0, shownLength)
        let tail = message.slice(-shownLength)
        // Neither part keeps half of a surrogate pair.
        if (/[\uD800-\uDBFF]$/.test(head))
            head = head.slice(0, -1)
        if (/^[\uDC00-\uDFFF]/.test(tail))
            tail = tail.slice(1)
        const left = message.length - head.length - tail.length
        return head + "\n" + qsTr("… %Ln characters left out …", "", left) + "\n" + tail
    }
    // Whole lines up to this many characters make one part; a longer line is cut into parts of
    // its own, at a space near the end when there is one.
    readonly property int partLength: 4096
    readonly property list<string> messageParts: {
        const parts = []
        let part = null
        for (let line of shownMessage.split("\n")) {
            if (part !== null && part.length + line.length >= partLength) {
                parts.push(part)
                part = null
            }
            while (line.length > partLength) {
                if (part !== null) {
                    parts.push(part)
                    part = null
                }
                let cut = line.lastIndexOf(" ", partLength - 1) + 1
                if (cut < partLength / 2)
                    cut = partLength
                // Never between the halves of a surrogate pair.
                if (/[\uD800-\uDBFF]/.test(line[cut - 1]))
                    --cut
                parts.push(line.slice(0, cut))
                line = line.slice(cut)
            }
            part = part === null ? line : part + "\n" + line
        }
        parts.push(part)
        return parts
    }
    // Beyond this the message scrolls.
    readonly property real maximumMessageHeight: parent ? parent.height / 2 : 300

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(420, parent ? parent.width - 2 * Theme.padding : 420)
    modal: true
    padding: 20
    topPadding: 8
    bottomPadding: 4

    onOpened: okButton.forceActiveFocus()

    // The same dimming on light and dark palettes.
    Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.25)
    }

    background: CardBackground {
        radius: 12
        shadowOpacity: 0.3
        shadowRadius: 12
        shadowOffsetY: 4
    }

    header: Label {
        objectName: "alertTitle"
        topPadding: 20
        leftPadding: 20
        rightPadding: 20
        text: dialog.title
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font.pixelSize: 15
        font.weight: Font.DemiBold
        color: Theme.primaryText
    }

    contentItem: Column {
        spacing: 8

        // A long message (a tool's error output) scrolls instead of pushing the dialog off
        // screen. It is laid out in parts of whole lines, a few thousand characters each, and
        // only the parts in view are made: tens of thousands of characters in one text take long
        // to lay out.
        ListView {
            id: messageView
            objectName: "alertMessageView"

            // Moves the text by `by` pixels, within its bounds.
            function scroll(by) {
                contentY = Math.max(originY, Math.min(contentY + by,
                                                      originY + contentHeight - height))
            }

            width: parent.width
            implicitHeight: Math.min(contentHeight, dialog.maximumMessageHeight)
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            // Only the parts in view are made, so the view itself gives a screen reader all that
            // is shown, and the parts stay out of its way.
            Accessible.role: Accessible.StaticText
            Accessible.name: dialog.shownMessage
            Accessible.description: dialog.shownMessage
            model: dialog.messageParts
            delegate: Label {
                required property string modelData
                objectName: "alertMessage"
                width: ListView.view.width
                // Room for the scroll bar, kept always so that wrapping does not depend on it.
                rightPadding: 12
                text: modelData
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: 13
                color: Theme.primaryText
                Accessible.ignored: true
            }
            // Show that there is more to read.
            ScrollBar.vertical: ScrollBar {
                policy: messageView.contentHeight > dialog.maximumMessageHeight
                        ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }
        }

        Label {
            objectName: "alertDetail"
            width: parent.width
            visible: text !== ""
            text: dialog.detail
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: 11
            color: Theme.secondaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    // A plain row: in a DialogButtonBox a hidden button still takes its room. "OK", the default
    // button, sits at the trailing edge and has the focus when the alert opens. Return and Enter
    // press the focused button, as Space does.
    footer: Item {
        implicitWidth: buttons.implicitWidth + 32
        implicitHeight: buttons.implicitHeight + 24

        // The focus stays on the buttons; the keys they leave scroll the message.
        Keys.onPressed: event => {
            const line = 20
            const page = messageView.height - line
            const by = { [Qt.Key_Up]: -line, [Qt.Key_Down]: line,
                         [Qt.Key_PageUp]: -page, [Qt.Key_PageDown]: page }[event.key]
            if (by === undefined)
                return
            messageView.scroll(by)
            event.accepted = true
        }

        Row {
            id: buttons
            anchors.right: parent.right
            anchors.rightMargin: 16
            y: 8
            spacing: 6

            Button {
                objectName: "alertActionButton"
                visible: dialog.actionText !== ""
                text: dialog.actionText
                Accessible.name: text
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                onClicked: {
                    dialog.actionClicked()
                    dialog.close()
                }
            }
            Button {
                id: okButton
                objectName: "alertOkButton"
                text: dialog.okText
                Accessible.name: text
                highlighted: true
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                onClicked: dialog.accept()
            }
        }
    }
}
