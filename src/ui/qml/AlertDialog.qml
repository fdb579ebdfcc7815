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
    signal actionClicked()
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

        // A long message (a tool's error output) scrolls instead of pushing the dialog off screen.
        ScrollView {
            width: parent.width
            implicitHeight: Math.min(message.implicitHeight, dialog.maximumMessageHeight)
            contentWidth: availableWidth
            // Show that there is more to read.
            ScrollBar.vertical.policy: message.implicitHeight > dialog.maximumMessageHeight
                                       ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff

            Label {
                id: message
                objectName: "alertMessage"
                width: parent.width
                // Room for the scroll bar, kept always so that wrapping does not depend on it.
                rightPadding: 12
                text: dialog.message
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: 13
                color: Theme.primaryText
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
                text: qsTr("OK")
                Accessible.name: text
                highlighted: true
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                onClicked: dialog.accept()
            }
        }
    }
}
