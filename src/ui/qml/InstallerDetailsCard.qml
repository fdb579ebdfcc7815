import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vantorel

// What was read from the chosen installer: icon, name, five facts and where it lies on disk.
Item {
    id: card

    // An InstallerInfo.
    required property var installer

    readonly property bool isMacOS: installer.majorVersion > 10
    // Label, value and the value's colour, in display order; installer data is shown verbatim.
    readonly property var facts: [
        { label: qsTr("macOS Version:"), value: installer.macOSVersion, color: Theme.primaryText },
        { label: qsTr("Installer Version:"), value: installer.version, color: Theme.primaryText },
        { label: qsTr("Build Number:"), value: installer.buildNumber, color: Theme.primaryText },
        { label: qsTr("Size:"), value: ByteCountFormatter.gigabytes(installer.size),
          color: Theme.primaryText },
        { label: qsTr("Installer Type:"), value: isMacOS ? qsTr("macOS") : qsTr("OS X"),
          color: isMacOS ? Theme.green : Theme.orange }
    ]

    implicitHeight: content.implicitHeight + 2 * Theme.padding

    CardBackground {
        anchors.fill: parent
    }

    RowLayout {
        id: content
        x: Theme.padding
        y: Theme.padding
        width: card.width - 2 * Theme.padding
        spacing: 20

        // Nothing takes the icon's place when there is none.
        Item {
            objectName: "installerIcon"
            visible: card.installer.hasIcon
            Layout.preferredWidth: 80
            Layout.preferredHeight: 80
            Layout.alignment: Qt.AlignVCenter
            Accessible.ignored: true

            InstallerIcon {
                x: -shadowMargin
                y: -shadowMargin
                width: parent.width + 2 * shadowMargin
                height: parent.height + 2 * shadowMargin
                image: card.installer.icon
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            spacing: 8

            Label {
                objectName: "installerName"
                Layout.fillWidth: true
                wrapMode: Text.Wrap
                text: card.installer.name
                textFormat: Text.PlainText
                font.pixelSize: 18
                font.weight: Font.DemiBold
                color: Theme.primaryText
            }

            Repeater {
                model: card.facts

                RowLayout {
                    required property var modelData
                    required property int index
                    objectName: "fact" + index
                    Layout.fillWidth: true
                    spacing: Theme.spacing

                    Label {
                        objectName: "factLabel"
                        text: modelData.label
                        font.pixelSize: 14
                        color: Theme.secondaryText
                    }
                    Label {
                        objectName: "factValue"
                        Layout.fillWidth: true
                        wrapMode: Text.Wrap
                        text: modelData.value
                        textFormat: Text.PlainText
                        font.pixelSize: 14
                        font.weight: Font.Medium
                        color: modelData.color
                    }
                }
            }

            Label {
                objectName: "installerPath"
                Layout.fillWidth: true
                text: qsTr("Path: %1").arg(card.installer.filePath)
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                maximumLineCount: 1
                font.pixelSize: 11
                color: Theme.secondaryText
            }
        }
    }
}
