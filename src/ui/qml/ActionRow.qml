import QtQuick
import Vantorel

// The window's two main buttons. Their disabled conditions are the only logic here.
Row {
    id: actions

    required property bool isProcessing
    required property bool hasInstaller

    signal selectInstallerClicked()
    signal createISOClicked()

    spacing: 20

    GradientButton {
        objectName: "selectInstallerButton"
        title: qsTr("Select Installer")
        symbol: "../icons/folder-badge-plus.svg"
        isDisabled: actions.isProcessing
        onClicked: actions.selectInstallerClicked()
    }

    GradientButton {
        objectName: "createISOButton"
        title: qsTr("Create ISO")
        symbol: "../icons/opticaldisc.svg"
        isDisabled: !actions.hasInstaller || actions.isProcessing
        onClicked: actions.createISOClicked()
    }
}
