import QtQuick
import Vantorel

// Stands in the installer area while no installer is chosen and invites the user to pick one.
Item {
    id: card

    implicitHeight: content.implicitHeight + 2 * 40

    CardBackground {
        anchors.fill: parent
    }

    Column {
        id: content
        x: 40
        y: 40
        width: card.width - 2 * 40
        spacing: 15

        Item {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 60
            height: 60 + 10

            SymbolIcon {
                width: 60
                height: 60
                source: "../icons/tray-arrow-down.svg"
                color: Theme.secondaryText
            }
        }

        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: qsTr("No installer selected")
            font.pixelSize: 20
            font.weight: Font.Medium
            color: Theme.primaryText
            // A plain Text is not in the accessibility tree unless it says what it is.
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: qsTr("Please select a macOS installer to continue")
            font.pixelSize: 14
            color: Theme.secondaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
