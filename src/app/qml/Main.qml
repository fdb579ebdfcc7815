import QtQuick
import QtQuick.Controls
import Vantorel

// The application's one window. It stays resizable above its minimum content size.
ApplicationWindow {
    id: window

    readonly property real minimumContentWidth: 600
    readonly property real minimumContentHeight: 600

    title: qsTr("Vantorel")
    minimumWidth: minimumContentWidth
    minimumHeight: minimumContentHeight + (menuBar ? menuBar.implicitHeight : 0)
    width: minimumWidth
    height: minimumHeight
    visible: true

    // The controls (menu, progress bar, dialogs) take the application palette that the views
    // take, so that the window is light or dark as one piece, whatever the style's own palette.
    // Each group is set on its own: a colour set for all groups would win over the disabled one.
    SystemPalette {
        id: activeColors
        colorGroup: SystemPalette.Active
    }
    SystemPalette {
        id: inactiveColors
        colorGroup: SystemPalette.Inactive
    }
    SystemPalette {
        id: disabledColors
        colorGroup: SystemPalette.Disabled
    }
    palette {
        active {
            window: activeColors.window
            windowText: activeColors.windowText
            base: activeColors.base
            alternateBase: activeColors.alternateBase
            text: activeColors.text
            button: activeColors.button
            buttonText: activeColors.buttonText
            light: activeColors.light
            midlight: activeColors.midlight
            mid: activeColors.mid
            dark: activeColors.dark
            shadow: activeColors.shadow
            highlight: activeColors.highlight
            highlightedText: activeColors.highlightedText
            placeholderText: activeColors.placeholderText
        }
        inactive {
            window: inactiveColors.window
            windowText: inactiveColors.windowText
            base: inactiveColors.base
            alternateBase: inactiveColors.alternateBase
            text: inactiveColors.text
            button: inactiveColors.button
            buttonText: inactiveColors.buttonText
            light: inactiveColors.light
            midlight: inactiveColors.midlight
            mid: inactiveColors.mid
            dark: inactiveColors.dark
            shadow: inactiveColors.shadow
            highlight: inactiveColors.highlight
            highlightedText: inactiveColors.highlightedText
            placeholderText: inactiveColors.placeholderText
        }
        disabled {
            window: disabledColors.window
            windowText: disabledColors.windowText
            base: disabledColors.base
            alternateBase: disabledColors.alternateBase
            text: disabledColors.text
            button: disabledColors.button
            buttonText: disabledColors.buttonText
            light: disabledColors.light
            midlight: disabledColors.midlight
            mid: disabledColors.mid
            dark: disabledColors.dark
            shadow: disabledColors.shadow
            highlight: disabledColors.highlight
            highlightedText: disabledColors.highlightedText
            placeholderText: disabledColors.placeholderText
        }
    }

    // The File menu offers no way to open a second window: its only command is never enabled.
    menuBar: MenuBar {
        Menu {
            objectName: "fileMenu"
            title: qsTr("&File")

            MenuItem {
                id: newWindowItem
                objectName: "newWindowItem"
                action: Action {
                    text: qsTr("New Window")
                    shortcut: StandardKey.New
                    enabled: false
                }
                // Controls' menu items do not show shortcuts; this one does, in the platform's
                // notation (Ctrl+N, or Command-N on macOS).
                readonly property string shortcutText: shortcutNotation.nativeText
                contentItem: Item {
                    implicitWidth: itemTitle.implicitWidth + 32 + itemShortcut.implicitWidth
                    implicitHeight: itemTitle.implicitHeight

                    Text {
                        id: itemTitle
                        anchors.left: parent.left
                        anchors.verticalCenter: parent.verticalCenter
                        text: newWindowItem.text
                        font: newWindowItem.font
                        color: newWindowItem.palette.text
                    }
                    Text {
                        id: itemShortcut
                        objectName: "newWindowShortcut"
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        text: newWindowItem.shortcutText
                        font: newWindowItem.font
                        color: newWindowItem.palette.text
                    }
                }

                Shortcut {
                    id: shortcutNotation
                    sequence: newWindowItem.action.shortcut
                    enabled: false
                }
            }
        }
    }

    ContentView {
        id: content
        objectName: "contentView"
        anchors.fill: parent
    }

    // A run drives external tools for minutes; ending the process under it would leave a
    // half-written disk image attached. Closing (and quitting, which closes every window first)
    // is therefore refused while a run is under way, and the user is told why.
    onClosing: close => {
        if (content.viewModel.isProcessing) {
            close.accepted = false
            busyNotice.open()
        }
    }

    AlertDialog {
        id: busyNotice
        objectName: "busyNotice"
        title: qsTr("An ISO image is being created")
        message: qsTr("Vantorel can be closed once the current run has finished.")
    }
}
