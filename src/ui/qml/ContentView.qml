import QtQuick
import Vantorel

Item {
    id: root

    readonly property InstallerViewModel viewModel: InstallerViewModel {
        chooser: FileDialogChooser {}
        prompter: MessageBoxPrompter {}
    }
}
