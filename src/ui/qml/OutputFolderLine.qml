import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Vantorel

// Where a run writes, under the two main buttons, and the way to change it. The folder is named
// by its last component; its whole path is in the tooltip and the accessible description.
Row {
    id: line

    // The folder the next run writes to, and whether it is the Desktop.
    required property string folder
    required property bool isDesktop
    // The chosen folder while it cannot be reached; empty otherwise.
    required property string unavailableFolder
    required property bool isProcessing

    signal changeClicked()

    function nameOf(path) {
        const parts = path.split("/").filter(part => part !== "")
        return parts.length > 0 ? parts[parts.length - 1] : "/"
    }

    readonly property string folderName: unavailableFolder !== ""
        ? qsTr("Desktop (“%1” is not available)").arg(nameOf(unavailableFolder))
        : isDesktop ? qsTr("Desktop") : nameOf(folder)
    // The path behind the name, where the name alone does not say it.
    readonly property string fullPath: unavailableFolder !== "" ? unavailableFolder
                                     : isDesktop ? "" : folder

    spacing: 8

    Text {
        objectName: "savesTo"
        anchors.verticalCenter: parent.verticalCenter
        width: Math.min(implicitWidth, 420)
        elide: Text.ElideMiddle
        text: qsTr("Saves to: %1").arg(line.folderName)
        textFormat: Text.PlainText
        font.pixelSize: 13
        color: Theme.secondaryText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Accessible.description: line.fullPath

        HoverHandler {
            id: hover
        }
        // Set only while shown: a tooltip's text makes its popup, which the first frame need not.
        ToolTip.visible: hover.hovered && line.fullPath !== ""
        ToolTip.text: hover.hovered ? line.fullPath : ""
        ToolTip.delay: 500
    }

    // A small bordered button of its own: the style's Button would load the style's controls
    // with the first frame.
    T.AbstractButton {
        id: change
        objectName: "changeFolderButton"
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("Change…")
        enabled: !line.isProcessing
        Accessible.name: text
        padding: 4
        leftPadding: 10
        rightPadding: 10
        implicitWidth: implicitContentWidth + leftPadding + rightPadding
        implicitHeight: implicitContentHeight + topPadding + bottomPadding
        font.pixelSize: 13
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        onClicked: line.changeClicked()

        contentItem: Text {
            text: change.text
            font: change.font
            color: change.enabled ? Theme.blue : Theme.secondaryText
            Accessible.ignored: true
        }
        background: Rectangle {
            radius: 5
            color: change.down ? Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.12)
                               : "transparent"
            border.width: change.visualFocus ? 2 : 1
            border.color: change.enabled ? Theme.blue : Theme.gray
            opacity: change.enabled ? 1.0 : 0.5
        }
    }
}
