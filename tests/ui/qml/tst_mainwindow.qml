import QtQuick
import QtTest
import VantorelApp
import VantorelTest

// The application window: its title, its size limits and its one menu command.
TestCase {
    name: "MainWindow"
    when: windowShown

    Component {
        id: mainWindow
        Main {}
    }

    SignalSpy {
        id: triggered
        signalName: "triggered"
    }

    function makeWindow() {
        const window = createTemporaryObject(mainWindow, null)
        verify(window)
        verify(waitForRendering(window.contentItem))
        return window
    }

    function test_newWindowCommandIsDisabledWithItsShortcut() {
        const window = makeWindow()
        compare(window.title, "Vantorel")
        const item = findChild(window.loadMenuBar(), "newWindowItem")
        compare(item.text, "New Window")
        compare(item.enabled, false)
        compare(item.action.shortcut, StandardKey.New)
        compare(findChild(item, "newWindowShortcut").text, "Ctrl+N")

        triggered.target = item.action
        window.requestActivate()
        tryCompare(window, "active", true)
        keySequence("Ctrl+N")
        compare(triggered.count, 0)
    }

    function test_contentFitsTheMinimumSize() {
        const window = makeWindow()
        compare(window.minimumWidth, 600)
        window.width = window.minimumWidth
        window.height = window.minimumHeight
        tryCompare(window.contentItem, "height", 600)
        compare(window.contentItem.width, 600)

        // The tallest state: an installer with an icon and a two-line name, during a run.
        const view = findChild(window.contentItem, "contentView")
        StateDriver.selectInstaller(view.viewModel, {
            name: "Install macOS Sonoma with a name long enough to need a second line"
        })
        StateDriver.setProcessing(view.viewModel, true)
        const steps = findChild(view, "stepList")
        verify(steps)
        waitForRendering(view)
        const bottomRight = steps.mapToItem(view, steps.width, steps.height)
        verify(bottomRight.y <= view.height, "step list ends at " + bottomRight.y)
        verify(bottomRight.x <= view.width)
    }
}
