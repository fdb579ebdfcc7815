import QtQuick
import QtTest
import Vantorel
import VantorelTest

// The window's content driven through the view-model's published state: which parts show and
// what they say.
Item {
    id: stage
    width: 600
    height: 600

    Component {
        id: contentView
        ContentView { width: 600; height: 600 }
    }
    Component { id: gradientButton; GradientButton { title: "Go"; symbol: ""; isDisabled: false } }

    TestCase {
        name: "ContentView"
        when: windowShown

        function makeView(selected, processing) {
            const view = createTemporaryObject(contentView, stage)
            if (selected)
                StateDriver.selectInstaller(view.viewModel)
            StateDriver.setProcessing(view.viewModel, processing)
            waitForRendering(view)
            return view
        }

        function test_parts_data() {
            return [
                { tag: "idle, nothing selected", selected: false, processing: false,
                  enabled: [true, false] },
                { tag: "idle, installer selected", selected: true, processing: false,
                  enabled: [true, true] },
                { tag: "running", selected: true, processing: true, enabled: [false, false] }
            ]
        }

        function test_parts(data) {
            const view = makeView(data.selected, data.processing)
            compare(findChild(view, "installerDetailsCard") !== null, data.selected)
            compare(findChild(view, "emptyStateCard") !== null, !data.selected)
            compare(findChild(view, "progressSection") !== null, data.processing)
            compare(findChild(view, "progressArea").visible, data.processing)
            compare(findChild(view, "selectInstallerButton").enabled, data.enabled[0])
            compare(findChild(view, "createISOButton").enabled, data.enabled[1])
            compare(findChild(view, "stopButton") !== null, data.processing)
        }

        // Escape asks before stopping; "Continue" leaves the run alone, "Stop" stops it.
        function test_stop() {
            const view = makeView(true, true)
            keyClick(Qt.Key_Escape)
            const question = findChild(view, "stopQuestion")
            tryCompare(question, "opened", true)
            compare([question.title, question.message],
                    ["Stop creating the ISO?", "The files made so far will be removed."])
            mouseClick(findChild(question.footer, "alertOkButton"))
            tryCompare(question, "visible", false)
            compare([view.viewModel.isProcessing, view.viewModel.isStopping], [true, false])
            mouseClick(findChild(view, "stopButton"))
            tryCompare(question, "opened", true)
            mouseClick(findChild(question.footer, "alertActionButton"))
            compare(view.viewModel.isStopping, true)
            verify(!findChild(view, "stopButton").enabled)
        }

        // Where a run saves: the Desktop, a folder named by its last part (its path for screen
        // readers), or the Desktop while the chosen folder is gone. Not to be changed mid-run.
        function test_outputFolder_data() {
            return [
                { tag: "Desktop", folder: "", text: "Saves to: Desktop", path: "" },
                { tag: "another folder", folder: "/usr/share", text: "Saves to: share",
                  path: "/usr/share" },
                { tag: "gone", folder: "/nonexistent/ISO Images",
                  text: "Saves to: Desktop (“ISO Images” is not available)",
                  path: "/nonexistent/ISO Images" }
            ]
        }

        function test_outputFolder(data) {
            const view = makeView(false, false)
            StateDriver.chooseFolder(view.viewModel, data.folder)
            const line = findChild(view, "savesTo")
            compare([line.text, line.Accessible.name, line.Accessible.description],
                    [data.text, data.text, data.path])
            const change = findChild(view, "changeFolderButton")
            compare([change.Accessible.name, change.enabled], ["Change…", true])
            StateDriver.setProcessing(view.viewModel, true)
            verify(!change.enabled)
        }

        // A refusal for want of room offers another folder; the choice starts no run by itself.
        function test_refusalOffersAnotherFolder() {
            const view = makeView(true, false)
            StateDriver.countFolderChoices(view.viewModel)
            StateDriver.showAlert(view.viewModel, "Error", "No room", "", true)
            const alert = findChild(view, "outcomeAlert")
            tryCompare(alert, "opened", true)
            const action = findChild(alert.footer, "alertActionButton")
            compare([action.visible, action.text], [true, "Choose Another Folder…"])
            mouseClick(action)
            tryVerify(() => StateDriver.folderChoices() === 1)
            compare(view.viewModel.isProcessing, false)
        }

        // Tab reaches a main button, and Return and Enter press it as Space does.
        function test_buttonKeys() {
            let clicks = 0
            createTemporaryObject(gradientButton, stage).clicked.connect(() => ++clicks)
            keyClick(Qt.Key_Tab)
            for (const key of [Qt.Key_Space, Qt.Key_Return, Qt.Key_Enter])
                keyClick(key)
            compare(clicks, 3)
        }

        function test_detailsCard_data() {
            return [
                { tag: "macOS 11 with icon", version: "11.7.10", icon: true, type: "macOS",
                  color: Theme.green },
                { tag: "OS X 10.15 without icon", version: "10.15.7", icon: false, type: "OS X",
                  color: Theme.orange }
            ]
        }

        function test_detailsCard(data) {
            const view = makeView(false, false)
            StateDriver.selectInstaller(view.viewModel, data.version, data.icon)
            const card = findChild(view, "installerDetailsCard")
            const facts = [["macOS Version:", data.version], ["Installer Version:", "19.2.02"],
                           ["Build Number:", "23C71"], ["Size:", "13.25 GB"],
                           ["Installer Type:", data.type]]
            for (let i = 0; i < facts.length; ++i) {
                const fact = findChild(card, "fact" + i)
                compare([findChild(fact, "factLabel").text, findChild(fact, "factValue").text],
                        facts[i])
            }
            compare(String(findChild(findChild(card, "fact4"), "factValue").color),
                    String(data.color))
            compare(findChild(card, "installerName").text, "Install macOS Sonoma")
            compare(findChild(card, "installerPath").text,
                    "Path: /Applications/Install macOS Sonoma.app")
            compare(findChild(card, "installerIcon").visible, data.icon)
        }

        function test_progress_data() {
            return [
                { tag: "running at makeBootable", current: 2, completed: [0, 1],
                  states: ["completed", "completed", "current", "pending", "pending"] },
                { tag: "finished: completed wins over current", current: 4,
                  completed: [0, 1, 2, 3, 4], states: Array(5).fill("completed") }
            ]
        }

        function test_progress(data) {
            const view = makeView(false, true)
            StateDriver.setSteps(view.viewModel, 0.3, "Making DMG bootable", data.current,
                                 data.completed)
            compare(findChild(view, "progressBar").value, 0.3)
            compare(findChild(view, "statusLine").text, "Making DMG bootable")
            const looks = {
                completed: ["/checkmark-circle-fill.svg", Theme.green, "completed"],
                current: ["/arrow-right-circle-fill.svg", Theme.blue, "in progress"],
                pending: ["/circle.svg", Theme.gray, "pending"]
            }
            const titles = ["macOS installer selected", "Create DMG file", "Make DMG bootable",
                            "Convert to ISO format", "Clean up temporary files"]
            for (let step = 0; step < 5; ++step) {
                const row = findChild(view, "stepRow" + step)
                const symbol = findChild(row, "stepSymbol")
                const look = looks[data.states[step]]
                verify(String(symbol.source).endsWith(look[0]))
                compare(String(symbol.color), String(look[1]))
                compare(findChild(row, "stepTitle").text, titles[step])
                compare(row.Accessible.name, titles[step] + ", " + look[2])
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
            const view = makeView(false, true)
            StateDriver.setProgress(view.viewModel, data.percent / 100 + 0.001, data.elapsed, data.left)
            const line = findChild(view, "timeLine")
            compare(line.text, data.text)
            compare(findChild(view, "progressBar").Accessible.name, "Progress " + data.percent + " %")
        }

        // Shown as given, in plain text; "OK" closes it and clears the flag, so that the next alert
        // opens again. Of a long text the first and last 32 KiB are shown, less the halves of
        // pairs, with a line saying how much lies between, in parts of at most 4 KiB that a
        // screen reader hears as one text and the keys scroll. Only the alert of a run that
        // succeeded offers to show the file, whatever its title says (here in German).
        function test_alert() {
            const view = makeView(false, false)
            const longText = "x" + "\uD83D\uDE00".repeat(524287) + "y"
            for (const [title, message, detail] of [
                     ["Erfolg", "Done", "Verified: bootable HFS+ volume “X”."],
                     ["Error", "Failed: <b>boom</b>", ""], ["Error", longText, ""]]) {
                StateDriver.showAlert(view.viewModel, title, message, detail)
                if (title === "Erfolg")
                    view.viewModel.runFinished(true, "/Desktop/X.iso")
                const alert = findChild(view, "outcomeAlert")
                tryCompare(alert, "opened", true)
                const shown = findChild(alert.contentItem, "alertMessage")
                const detailLabel = findChild(alert.contentItem, "alertDetail")
                const messageView = findChild(alert.contentItem, "alertMessageView")
                compare([alert.header.text, shown.text, detailLabel.text, detailLabel.visible,
                         messageView.Accessible.description,
                         findChild(alert.footer, "alertActionButton").visible],
                        [title, message === longText ? alert.messageParts[0] : message, detail,
                         detail !== "", alert.shownMessage, title === "Erfolg"])
                compare([alert.header.textFormat, shown.textFormat],
                        [Text.PlainText, Text.PlainText])
                if (message === longText) {
                    verify(/^\n… 983,?042 characters left out …\n$/.test(
                               alert.shownMessage.slice(32767, -32767))
                           && alert.shownMessage.startsWith(longText.slice(0, 32767))
                           && alert.shownMessage.endsWith(longText.slice(-32767)))
                    compare(alert.messageParts.join(""), alert.shownMessage.replace(/\n/g, ""))
                    verify(alert.messageParts.every(part => part.length <= 4096
                                                    && !/^[\uDC00-\uDFFF]/.test(part)))
                    const [top, page] = [messageView.contentY, messageView.height - 20]
                    compare([Qt.Key_PageDown, Qt.Key_Down, Qt.Key_Up, Qt.Key_PageUp].map(
                                key => (keyClick(key), messageView.contentY - top)),
                            [page, page + 20, page, 0])
                }
                keyClick(Qt.Key_Return)
                tryCompare(alert, "visible", false)
                compare(view.viewModel.showingAlert, false)
            }
        }
    }
}
