import QtQuick
import QtTest
import Vantorel
import VantorelTest

// The two main buttons: when they work, how they look, and how they answer mouse and keyboard.
Item {
    id: stage
    width: 600
    height: 600

    Component {
        id: contentView
        ContentView {
            width: 600
            height: 600
        }
    }

    Component {
        id: actionRow
        ActionRow {
            x: 100
            y: 100
        }
    }

    SignalSpy {
        id: selectClicks
        signalName: "selectInstallerClicked"
    }

    SignalSpy {
        id: createClicks
        signalName: "createISOClicked"
    }

    TestCase {
        name: "Actions"
        when: windowShown

        function makeRow(properties) {
            const row = createTemporaryObject(actionRow, stage, properties)
            verify(row)
            selectClicks.clear()
            createClicks.clear()
            selectClicks.target = row
            createClicks.target = row
            waitForRendering(row)
            return row
        }

        function buttons(root) {
            return [findChild(root, "selectInstallerButton"), findChild(root, "createISOButton")]
        }

        // grabImage() crops with the item's own x and y, right only for the window's children:
        // grab the whole stage and map instead.
        function pixelOf(item, x, y) {
            const point = item.mapToItem(stage, x, y)
            return grabImage(stage).pixel(Math.floor(point.x), Math.floor(point.y))
        }

        // A blue face is clearly blue, a gray one has no hue.
        function isBlue(color) {
            return color.b - color.r > 0.3
        }
        function isGray(color) {
            return Math.abs(color.b - color.r) < 0.05 && Math.abs(color.g - color.r) < 0.05
        }

        function test_faces_data() {
            return [
                { tag: "idle, nothing selected", selected: false, processing: false,
                  enabled: [true, false] },
                { tag: "idle, installer selected", selected: true, processing: false,
                  enabled: [true, true] },
                { tag: "running", selected: true, processing: true, enabled: [false, false] }
            ]
        }

        function test_faces(data) {
            const view = createTemporaryObject(contentView, stage)
            if (data.selected)
                StateDriver.selectInstaller(view.viewModel, {})
            StateDriver.setProcessing(view.viewModel, data.processing)
            waitForRendering(view)
            for (let i = 0; i < 2; ++i) {
                const button = buttons(view)[i]
                compare(button.enabled, data.enabled[i], button.text)
                verify(button.width >= 150)
                const middle = button.height / 2
                const leading = pixelOf(button, 4, middle)
                const trailing = pixelOf(button, button.width - 5, middle)
                if (data.enabled[i]) {
                    verify(isBlue(leading) && isBlue(trailing), button.text)
                    // Blue at 0.8 on the leading edge, at full strength on the trailing one.
                    verify(leading.r > trailing.r + 0.03, button.text)
                } else {
                    verify(isGray(leading) && isGray(trailing), button.text)
                }
                // Nothing of the face outside its rounded corners.
                verify(isGray(pixelOf(button, 1, 1)), button.text)
                verify(isGray(pixelOf(button, button.width - 2, button.height - 2)), button.text)
            }
        }

        function test_pressShrinksAndDims_data() {
            return [
                { tag: "mouse", keyboard: false },
                { tag: "space key", keyboard: true }
            ]
        }

        function test_pressShrinksAndDims(data) {
            const row = makeRow({ isProcessing: false, hasInstaller: true })
            const button = buttons(row)[1]
            const centre = button.mapToItem(stage, button.width / 2, button.height / 2)
            const before = pixelOf(button, 6, button.height / 2)

            if (data.keyboard) {
                button.forceActiveFocus()
                keyPress(Qt.Key_Space)
            } else {
                mousePress(button)
            }
            tryCompare(button, "scale", 0.98)
            const pressedCentre = button.mapToItem(stage, button.width / 2, button.height / 2)
            fuzzyCompare(pressedCentre.x, centre.x, 0.01)
            fuzzyCompare(pressedCentre.y, centre.y, 0.01)
            // Dimmed to 0.8: more of the light window shows through.
            tryVerify(() => pixelOf(button, 6, button.height / 2).r > before.r + 0.03)

            if (data.keyboard)
                keyRelease(Qt.Key_Space)
            else
                mouseRelease(button)
            tryCompare(button, "scale", 1.0)
            compare(createClicks.count, 1)
        }

        function test_disabledIgnoresPresses() {
            const row = makeRow({ isProcessing: false, hasInstaller: false })
            const button = buttons(row)[1]
            mousePress(button)
            wait(150)
            compare(button.scale, 1.0)
            mouseRelease(button)
            button.forceActiveFocus()
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Space)
            compare(createClicks.count, 0)
        }

        function test_keyboard_data() {
            return [
                { tag: "both usable", hasInstaller: true, order: [0, 1, 0] },
                { tag: "only Select Installer usable", hasInstaller: false, order: [0, 0] }
            ]
        }

        function test_keyboard(data) {
            const row = makeRow({ isProcessing: false, hasInstaller: data.hasInstaller })
            const pair = buttons(row)
            stage.forceActiveFocus()
            for (const index of data.order) {
                keyClick(Qt.Key_Tab)
                verify(pair[index].activeFocus, pair[index].text)
                verify(findChild(pair[index], "focusRing").visible)
            }
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Enter)
            keyClick(Qt.Key_Space)
            compare(selectClicks.count, 3)
        }
    }
}
