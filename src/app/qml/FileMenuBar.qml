import QtQuick
import QtQuick.Controls

// The window's menu bar where the menu is shown inside the window. The File menu offers no way to
// open a second window: its only command is never enabled. The texts are the window's (Main's).
MenuBar {
    id: bar

    // Opens the File menu as a click on its title does.
    function openFileMenu() {
        bar.itemAt(0).triggered()
    }

    Menu {
        objectName: "fileMenu"
        title: qsTranslate("Main", "&File")

        MenuItem {
            id: newWindowItem
            objectName: "newWindowItem"
            action: Action {
                text: qsTranslate("Main", "New Window")
                shortcut: StandardKey.New
                enabled: false
            }
            // Controls' menu items do not show shortcuts; this one does, in the platform's
            // notation (Ctrl+N).
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
                    // The menu item's name says it.
                    Accessible.ignored: true
                }
                Text {
                    id: itemShortcut
                    objectName: "newWindowShortcut"
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    text: newWindowItem.shortcutText
                    font: newWindowItem.font
                    color: newWindowItem.palette.text
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
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
