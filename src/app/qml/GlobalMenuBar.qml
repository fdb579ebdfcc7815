import QtQuick
import Qt.labs.platform as Platform

// The File menu in macOS's global menu bar; the system adds the application menu with Quit. Its
// only command is never enabled, and the system shows its shortcut (Command-N).
Platform.MenuBar {
    Platform.Menu {
        title: qsTranslate("Main", "&File")

        Platform.MenuItem {
            text: qsTranslate("Main", "New Window")
            shortcut: StandardKey.New
            enabled: false
        }
    }
}
