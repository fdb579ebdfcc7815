import QtQuick
import QtQuick.Controls
import Vantorel

// The application's one window. It stays resizable above its minimum content size. Its palette is
// the application's, applied by VantorelApp.
ApplicationWindow {
    id: window

    readonly property real minimumContentWidth: 600
    readonly property real minimumContentHeight: 600
    // A Mac user looks for the File menu at the top of the screen, not inside the window.
    readonly property bool usesGlobalMenuBar: Qt.platform.os === "osx"

    title: qsTr("Vantorel")
    minimumWidth: minimumContentWidth
    // Content taller than that (a run's section under a long header) raises the minimum, and the
    // window grows to show all of it; it opens at the minimum content size.
    minimumHeight: Math.max(minimumContentHeight, content.implicitHeight)
                   + (menuBar ? menuBar.implicitHeight : 0)
    width: minimumWidth
    height: minimumContentHeight + (menuBar ? menuBar.implicitHeight : 0)
    // Qt 6.4 keeps a window's size when its minimum grows past it.
    onMinimumHeightChanged: if (height < minimumHeight) height = minimumHeight
    visible: true

    // The in-window menu bar takes a good part of the start-up while hardly anyone uses it at
    // once: a strip drawn as the bar is drawn stands in for it until the pointer moves over it,
    // its one title is pressed or the title's mnemonic (Alt+F) is typed.
    menuBar: usesGlobalMenuBar ? null : menuStrip

    readonly property Item menuStrip: Rectangle {
        id: strip

        // Fusion's mix of two colours, in its integer steps: `percent` of a, the rest of b.
        function mixed(a, b, percent) {
            // QColor keeps 16 bits a channel; Fusion mixes the top 8.
            const channel = (x, y) => Math.floor((Math.round(x * 65535) >> 8) * percent / 100)
                                      + Math.floor((Math.round(y * 65535) >> 8) * (100 - percent) / 100)
            return Qt.rgba(channel(a.r, b.r) / 255, channel(a.g, b.g) / 255, channel(a.b, b.b) / 255)
        }

        implicitHeight: stripTitle.implicitHeight
        color: window.palette.window

        // Fusion's bar ends in a line of its outline colour mixed into a darker window colour.
        Rectangle {
            y: parent.height - height
            width: parent.width
            height: 1
            color: strip.mixed(Qt.darker(window.palette.window, 1.2),
                               Qt.lighter(Qt.darker(window.palette.window, 1.4), 1.4), 60)
        }

        // The pointer moving over the strip, not one that happens to be there as the window
        // opens (which only enters). A press beside the title does nothing, as on the bar. The
        // buttons are left at their default: the first binding that names a value of the Qt
        // namespace (Qt.NoButton) makes the engine list all of its 1,200 values, about 4 % of
        // the start-up.
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            onPositionChanged: if (!stripTitle.pressed) window.loadMenuBar()
        }

        MenuBarItem {
            id: stripTitle
            objectName: "menuStripTitle"
            text: qsTr("&File")
            onTriggered: window.loadMenuBar().openFileMenu()
        }
    }

    // Creates the in-window menu bar in place of the strip, once, and returns it.
    function loadMenuBar() {
        if (menuBar === menuStrip)
            menuBar = Qt.createComponent("FileMenuBar.qml").createObject(window)
        return menuBar
    }

    Loader {
        active: window.usesGlobalMenuBar
        source: "GlobalMenuBar.qml"
    }

    ContentView {
        id: content
        objectName: "contentView"
        anchors.fill: parent
    }

    // A run drives external tools for minutes; ending the process under it would leave a
    // half-written disk image attached. Closing (and quitting, which closes every window first)
    // during a run therefore asks first; "Stop and Quit" stops the run, which removes what it
    // made, and closes the window once it has.
    property bool closeWhenStopped: false
    onClosing: close => {
        if (content.viewModel.isProcessing) {
            close.accepted = false
            if (quitQuestion.item === null)
                quitQuestion.source = "QuitQuestion.qml"
            quitQuestion.item.open()
        }
    }
    // Made the first time it is needed, by file name: its types would otherwise be loaded with
    // the window.
    Loader {
        id: quitQuestion
    }
    Connections {
        target: quitQuestion.item
        function onActionClicked() {
            window.closeWhenStopped = true
            content.viewModel.stopRun()
        }
    }
    Connections {
        target: content.viewModel
        function onIsProcessingChanged() {
            if (content.viewModel.isProcessing)
                return
            if (window.closeWhenStopped)
                window.close()
            else if (quitQuestion.item)
                quitQuestion.item.close() // the run ended by itself
        }
    }
}
