import QtQuick
import QtTest
import Vantorel
import VantorelTest

// The window's column, cards, step list and alert, driven through the view-model's state.
Item {
    id: stage
    width: 600
    height: 600

TestCase {
    id: testCase
    name: "ContentView"
    when: windowShown

    Component {
        id: contentView
        ContentView {
            width: 600
            height: 600
        }
    }

    function makeView() {
        const view = createTemporaryObject(contentView, stage)
        verify(view)
        return view
    }

    function test_columnStates_data() {
        return [
            { tag: "idle, nothing selected", selected: false, processing: false },
            { tag: "idle, installer selected", selected: true, processing: false },
            { tag: "running, installer selected", selected: true, processing: true },
            { tag: "running, nothing selected", selected: false, processing: true }
        ]
    }

    function test_columnStates(data) {
        const view = makeView()
        if (data.selected)
            StateDriver.selectInstaller(view.viewModel, {})
        StateDriver.setProcessing(view.viewModel, data.processing)
        waitForRendering(view)

        compare(findChild(view, "installerDetailsCard") !== null, data.selected)
        compare(findChild(view, "emptyStateCard") !== null, !data.selected)
        compare(findChild(view, "progressSection") !== null, data.processing)

        // Top to bottom: header, installer area, action row, then the progress section or
        // nothing at all.
        const header = findChild(view, "header")
        const area = findChild(view, "installerArea")
        const actions = findChild(view, "actionRow")
        const progress = findChild(view, "progressArea")
        verify(header.y < area.y && area.y + area.height < actions.y)
        compare(area.y, header.y + header.height + 20)
        compare(actions.y, area.y + area.height + 20)
        compare(progress.visible, data.processing)
        if (data.processing)
            compare(progress.y, actions.y + actions.height + 20)
    }

    function test_detailsCard_data() {
        return [
            { tag: "macOS 11 with icon", fields: { macOSVersion: "11.7.10" }, type: "macOS",
              color: Theme.green, icon: true },
            { tag: "OS X 10.15 without icon", fields: { macOSVersion: "10.15.7", icon: false },
              type: "OS X", color: Theme.orange, icon: false }
        ]
    }

    function test_detailsCard(data) {
        const view = makeView()
        StateDriver.selectInstaller(view.viewModel, data.fields)
        const card = findChild(view, "installerDetailsCard")
        verify(card)
        waitForRendering(view)

        const labels = ["macOS Version:", "Installer Version:", "Build Number:", "Size:",
                        "Installer Type:"]
        const values = [data.fields.macOSVersion, "19.2.02", "23C71", "13.25 GB", data.type]
        for (let i = 0; i < labels.length; ++i) {
            const fact = findChild(card, "fact" + i)
            compare(findChild(fact, "factLabel").text, labels[i])
            compare(findChild(fact, "factValue").text, values[i])
        }
        compare(String(findChild(findChild(card, "fact4"), "factValue").color), String(data.color))

        // Without an icon nothing takes its place: the name starts at the card's inset.
        const icon = findChild(card, "installerIcon")
        compare(icon.visible, data.icon)
        const name = findChild(card, "installerName")
        const nameX = name.mapToItem(card, 0, 0).x
        if (data.icon)
            compare(nameX, Theme.padding + 80 + 20)
        else
            compare(nameX, Theme.padding)
    }

    function test_longPathStaysOnOneLine() {
        const view = makeView()
        const path = "/Volumes/" + "Very Long Folder Name/".repeat(12) + "Install macOS Sonoma.app"
        StateDriver.selectInstaller(view.viewModel, { path: path })
        const line = findChild(view, "installerPath")
        waitForRendering(view)
        compare(line.lineCount, 1)
        verify(line.truncated)
        const card = findChild(view, "installerDetailsCard")
        verify(line.mapToItem(card, line.width, 0).x <= card.width - Theme.padding)
    }

    function test_stepRows_data() {
        return [
            { tag: "fresh", current: -1, completed: [],
              states: ["pending", "pending", "pending", "pending", "pending"] },
            { tag: "running at makeBootable", current: 2, completed: [0, 1],
              states: ["completed", "completed", "current", "pending", "pending"] },
            { tag: "finished: completed wins over current", current: 4,
              completed: [0, 1, 2, 3, 4],
              states: ["completed", "completed", "completed", "completed", "completed"] }
        ]
    }

    function test_stepRows(data) {
        const view = makeView()
        StateDriver.setProcessing(view.viewModel, true)
        StateDriver.setCurrentStep(view.viewModel, data.current)
        StateDriver.setCompletedSteps(view.viewModel, data.completed)
        const symbols = {
            completed: ["/checkmark-circle-fill.svg", Theme.green, Theme.primaryText, "completed"],
            current: ["/arrow-right-circle-fill.svg", Theme.blue, Theme.primaryText, "in progress"],
            pending: ["/circle.svg", Theme.gray, Theme.secondaryText, "pending"]
        }
        const titles = ["macOS installer selected", "Create DMG file", "Make DMG bootable",
                        "Convert to ISO format", "Clean up temporary files"]
        for (let step = 0; step < 5; ++step) {
            const row = findChild(view, "stepRow" + step)
            const look = symbols[data.states[step]]
            compare(row.stepState, data.states[step])
            verify(String(findChild(row, "stepSymbol").source).endsWith(look[0]))
            compare(String(findChild(row, "stepSymbol").color), String(look[1]))
            compare(findChild(row, "stepTitle").text, titles[step])
            // Text keeps 8 bits a channel: compare as the text shows it.
            compare(String(findChild(row, "stepTitle").color), String(look[2]))
            compare(row.Accessible.name, titles[step] + ", " + look[3])
        }
    }

    function test_timeLine_data() {
        return [
            { tag: "no estimate", elapsed: 252, left: -1, percent: 45, text: "Elapsed 4:12" },
            { tag: "past the hour", elapsed: 3723, left: 330, percent: 60,
              text: "Elapsed 1:02:03 · about 6 minutes left in this step" },
            { tag: "one minute", elapsed: 70, left: 89, percent: 31,
              text: "Elapsed 1:10 · about 1 minute left in this step" },
            { tag: "under a minute", elapsed: 9, left: 59, percent: 88,
              text: "Elapsed 0:09 · less than a minute left in this step" }
        ]
    }

    // Only the view composes these texts; a screen reader hears them and the bar's percentage.
    function test_timeLine(data) {
        const view = makeView()
        StateDriver.setProcessing(view.viewModel, true)
        StateDriver.setProgress(view.viewModel, data.percent / 100 + 0.001, data.elapsed, data.left)
        const line = findChild(view, "timeLine")
        compare(line.text, data.text)
        compare(line.Accessible.name, data.text)
        compare(findChild(view, "progressBar").Accessible.name, "Progress " + data.percent + " %")
    }

    function test_alertOpensAndClearsTheFlag() {
        const view = makeView()
        // An error text as long as the runner's bound, with surrogate pairs across both cuts.
        const longText = "x" + "\uD83D\uDE00".repeat(524287) + "y"
        for (const [title, message, detail] of [
                 ["Success", "ISO image created successfully at:\n/x.iso", "Verified: bootable HFS+ volume “X”."],
                 ["Error", "Failed to create ISO image: <b>boom</b>", ""],
                 ["Error", longText, ""]]) {
            StateDriver.showAlert(view.viewModel, title, message, detail)
            const alert = findChild(view, "outcomeAlert")
            tryCompare(alert, "opened", true)
            compare(alert.header.text, title)
            compare(view.viewModel.alertMessage, message)
            // Of a long text the first and last 32 KiB are shown, less the halves of pairs, with a
            // line saying how much lies between.
            const head = message === longText ? longText.slice(0, 32767) : message
            compare(findChild(alert.contentItem, "alertMessage").text, head)
            if (message === longText)
                verify(/^\n… 983,?042 characters left out …\n$/.test(alert.shownMessage.slice(32767, -32767))
                       && alert.shownMessage.endsWith(longText.slice(-32767)))
            const detailLabel = findChild(alert.contentItem, "alertDetail")
            compare(detailLabel.text, detail)
            compare(detailLabel.visible, detail !== "")
            compare(detailLabel.Accessible.name, detail)
            waitForRendering(alert.contentItem)

            mouseClick(findChild(alert.footer, "alertOkButton"))
            tryCompare(alert, "visible", false)
            compare(view.viewModel.showingAlert, false)
            compare(view.viewModel.alertTitle, title)
        }
    }
}
}
