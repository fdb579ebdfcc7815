import QtQuick
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
        folderChooser: FolderDialogChooser {}
    }
    readonly property bool hasInstaller: viewModel.selectedInstaller !== undefined
    // The ISO made by the run whose alert is showing; empty for any other alert.
    property string finishedISOPath

    // What the column needs, padding included; the window keeps at least this much.
    implicitHeight: column.y + column.implicitHeight + Theme.padding

    // Starts at the top; the height left over stays empty below.
    Column {
        id: column
        x: Theme.padding
        y: Theme.padding
        width: root.width - 2 * Theme.padding
        spacing: 20

        Text {
            objectName: "header"
            width: parent.width
            bottomPadding: 10
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: qsTr("Create bootable ISO images from macOS installers")
            font.pixelSize: 20
            color: Theme.secondaryText
            // A plain Text is not in the accessibility tree unless it says what it is.
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Loader {
            id: installerArea
            objectName: "installerArea"
            width: parent.width
            sourceComponent: emptyStateCard
        }

        ActionRow {
            objectName: "actionRow"
            anchors.horizontalCenter: parent.horizontalCenter
            isProcessing: root.viewModel.isProcessing
            hasInstaller: root.hasInstaller
            onSelectInstallerClicked: root.viewModel.selectInstaller()
            onCreateISOClicked: root.viewModel.createISO()
        }

        OutputFolderLine {
            objectName: "outputFolderLine"
            anchors.horizontalCenter: parent.horizontalCenter
            // Tucked under the buttons: it belongs to them.
            topPadding: -8
            folder: root.viewModel.outputFolder
            isDesktop: root.viewModel.outputFolderIsDesktop
            unavailableFolder: root.viewModel.unavailableOutputFolder
            isProcessing: root.viewModel.isProcessing
            onChangeClicked: root.viewModel.chooseOutputFolder()
        }

        // Only while a run is under way: no element and no spacing otherwise.
        Loader {
            id: progressArea
            objectName: "progressArea"
            width: parent.width
            visible: item !== null
        }
    }

    // An installer dragged onto the window is taken as if chosen in the dialog; nothing is taken
    // during a run or while an alert is open (nor, the chooser sees to it, while a modal window
    // such as the replace prompt is).
    DropArea {
        id: installerDrop
        readonly property bool takesDrops: !root.viewModel.isProcessing
                                           && !root.viewModel.showingAlert
        anchors.fill: parent
        onEntered: drag => drag.accepted = installerDrop.takesDrops
                                           && bundleChooser.canChoose(drag.urls)
        // Checked again: the state may have changed during the drag. The source is told whether
        // the installer was taken, as a copy, so that it keeps its own.
        onDropped: drop => {
            const bundle = installerDrop.takesDrops ? bundleChooser.droppedBundle(drop.urls) : ""
            if (String(bundle) === "")
                return
            root.viewModel.selectInstallerAt(bundle)
            // A bundle that is no installer is refused with an alert at once.
            if (!root.viewModel.showingAlert)
                drop.accept(Qt.CopyAction)
        }
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

    // "Stop" asks first; only its own button stops the run.
    Loader {
        id: stopQuestion
    }
    Connections {
        target: progressArea.item
        function onStopRequested() {
            if (stopQuestion.item === null)
                stopQuestion.source = "StopQuestion.qml"
            stopQuestion.item.open()
        }
    }
    Connections {
        target: stopQuestion.item
        function onActionClicked() {
            root.viewModel.stopRun()
        }
    }

    DesktopServices {
        id: desktop
        viewModel: root.viewModel
        window: root.Window.window
    }

    Component {
        id: emptyStateCard
        EmptyStateCard {
            objectName: "emptyStateCard"
        }
    }

    // The outcome of a load or a run. Its title and message are shown as given; dismissing it
    // is all that "OK" does, and it clears the model's flag so that the next alert opens again.
    // Made when the first alert comes, then kept.
    Loader {
        id: outcomeAlert
    }
    Connections {
        target: outcomeAlert.item
        function onActionClicked() {
            if (root.finishedISOPath !== "")
                desktop.reveal(root.finishedISOPath)
            else if (root.viewModel.alertOffersFolderChoice)
                // Once the alert has gone: the chooser is a window of its own.
                Qt.callLater(root.viewModel.chooseOutputFolder)
        }
        function onClosed() {
            // Unless the model closed it itself.
            if (root.viewModel.showingAlert)
                root.viewModel.showingAlert = false
        }
    }

    // The details card, the progress section and the alert are loaded by file name when first
    // shown. Named as types in this file, they (and the controls they use) would be loaded with
    // the window, which opens without any of them, and delay its first frame.
    Connections {
        target: root.viewModel

        function onSelectedInstallerChanged() {
            if (!root.hasInstaller)
                installerArea.sourceComponent = emptyStateCard
            else if (String(installerArea.source) === "")
                installerArea.setSource("InstallerDetailsCard.qml", {
                    objectName: "installerDetailsCard",
                    installer: Qt.binding(() => root.viewModel.selectedInstaller)
                })
        }
        function onIsProcessingChanged() {
            if (!root.viewModel.isProcessing) {
                progressArea.source = ""
                // A run that ended by itself leaves nothing to stop.
                if (stopQuestion.item)
                    stopQuestion.item.close()
            } else if (progressArea.item === null)
                progressArea.setSource("ProgressSection.qml", {
                    objectName: "progressSection",
                    progress: Qt.binding(() => root.viewModel.progress),
                    progressDescription: Qt.binding(() => root.viewModel.progressDescription),
                    currentStep: Qt.binding(() => root.viewModel.currentStep),
                    completedSteps: Qt.binding(() => root.viewModel.completedSteps),
                    elapsedSeconds: Qt.binding(() => root.viewModel.elapsedSeconds),
                    stepSecondsLeft: Qt.binding(() => root.viewModel.stepSecondsLeft),
                    canStop: Qt.binding(() => !root.viewModel.isStopping
                                              && !(stopQuestion.item && stopQuestion.item.visible))
                })
        }
        function onRunFinished(succeeded, isoPath) {
            root.finishedISOPath = succeeded ? isoPath : ""
        }
        function onShowingAlertChanged() {
            // A new alert has no file to show; a run's runFinished comes after its alert.
            if (root.viewModel.showingAlert)
                root.finishedISOPath = ""
            if (root.viewModel.showingAlert && outcomeAlert.item === null)
                outcomeAlert.setSource("AlertDialog.qml", {
                    objectName: "outcomeAlert",
                    visible: Qt.binding(() => root.viewModel.showingAlert),
                    title: Qt.binding(() => root.viewModel.alertTitle),
                    message: Qt.binding(() => root.viewModel.alertMessage),
                    detail: Qt.binding(() => root.viewModel.alertDetail),
                    // Only a run that succeeded has a file to show; a refusal for want of room
                    // offers another folder, which the user then starts a run for.
                    actionText: Qt.binding(() => root.finishedISOPath !== ""
                                                 ? qsTr("Show in Folder")
                                                 : root.viewModel.alertOffersFolderChoice
                                                   ? qsTr("Choose Another Folder…") : "")
                })
        }
    }
}
