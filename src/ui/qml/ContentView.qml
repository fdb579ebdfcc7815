import QtQuick
import QtQuick.Controls
import Vantorel

// The window's root view. It creates the window's one view-model and keeps it for the window's
// life; everything below is a function of the model's published state.
Item {
    id: root

    readonly property InstallerViewModel viewModel: InstallerViewModel {
        chooser: FileDialogChooser {
            id: bundleChooser
        }
        prompter: MessageBoxPrompter {}
    }
    readonly property bool hasInstaller: viewModel.selectedInstaller !== undefined

    Rectangle {
        anchors.fill: parent
        color: Theme.window
        opacity: 0.5
    }

    // Starts at the top; the height left over stays empty below.
    Column {
        id: column
        x: Theme.padding
        y: Theme.padding
        width: root.width - 2 * Theme.padding
        spacing: 20

        Label {
            objectName: "header"
            width: parent.width
            bottomPadding: 10
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: qsTr("Create bootable ISO images from macOS installers")
            font.pixelSize: 20
            color: Theme.secondaryText
        }

        Loader {
            objectName: "installerArea"
            width: parent.width
            sourceComponent: root.hasInstaller ? detailsCard : emptyStateCard
        }

        ActionRow {
            objectName: "actionRow"
            anchors.horizontalCenter: parent.horizontalCenter
            isProcessing: root.viewModel.isProcessing
            hasInstaller: root.hasInstaller
            onSelectInstallerClicked: root.viewModel.selectInstaller()
            onCreateISOClicked: root.viewModel.createISO()
        }

        // Only while a run is under way: no element and no spacing otherwise.
        Loader {
            objectName: "progressArea"
            width: parent.width
            active: root.viewModel.isProcessing
            visible: active
            sourceComponent: ProgressSection {
                objectName: "progressSection"
                progress: root.viewModel.progress
                progressDescription: root.viewModel.progressDescription
                currentStep: root.viewModel.currentStep
                completedSteps: root.viewModel.completedSteps
                elapsedSeconds: root.viewModel.elapsedSeconds
                stepSecondsLeft: root.viewModel.stepSecondsLeft
            }
        }
    }

    // An installer dragged onto the window is taken as if chosen in the dialog; nothing is taken
    // during a run.
    DropArea {
        id: installerDrop
        anchors.fill: parent
        onEntered: drag => drag.accepted = !root.viewModel.isProcessing
                                           && bundleChooser.canChoose(drag.urls)
        onDropped: drop => root.viewModel.selectInstallerAt(drop.urls[0])
    }
    Rectangle {
        objectName: "dropHighlight"
        anchors.fill: parent
        anchors.margins: 4
        visible: installerDrop.containsDrag
        radius: 10
        color: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.06)
        border.color: Theme.blue
        border.width: 2
    }

    DesktopServices {
        id: desktop
        viewModel: root.viewModel
        window: root.Window.window
    }

    Component {
        id: detailsCard
        InstallerDetailsCard {
            objectName: "installerDetailsCard"
            installer: root.viewModel.selectedInstaller
        }
    }

    Component {
        id: emptyStateCard
        EmptyStateCard {
            objectName: "emptyStateCard"
        }
    }

    // The outcome of a load or a run. Its title and message are shown as given; dismissing it
    // is all that "OK" does, and it clears the model's flag so that the next alert opens again.
    AlertDialog {
        objectName: "outcomeAlert"
        visible: root.viewModel.showingAlert
        title: root.viewModel.alertTitle
        message: root.viewModel.alertMessage
        detail: root.viewModel.alertDetail
        // Only a finished run has a file to show.
        actionText: root.viewModel.alertTitle === "Success" ? qsTr("Show in Folder") : ""
        onActionClicked: desktop.reveal(root.viewModel.createdISOPath)
        onClosed: root.viewModel.showingAlert = false
    }
}
