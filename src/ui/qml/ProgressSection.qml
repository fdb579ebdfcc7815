import QtQuick
import QtQuick.Controls
import Vantorel

// What a run shows while it is under way: progress bar, status line and the step list.
Column {
    id: section

    required property real progress
    required property string progressDescription
    // Ordinal of the current step, -1 when there is none.
    required property int currentStep
    // Ordinals of the completed steps.
    required property list<int> completedSteps
    // Seconds since the run started, and the estimate for the current step (-1: none).
    required property int elapsedSeconds
    required property int stepSecondsLeft
    // Whether "Stop" and its keys may ask now: not once the run is stopping or a dialog is open.
    required property bool canStop

    // The user asked to stop the run, with the button or a key.
    signal stopRequested()

    // 4:12, or 1:04:12 past the hour.
    function clockText(seconds) {
        const pad = value => (value < 10 ? "0" : "") + value
        const hours = Math.floor(seconds / 3600)
        const minutes = Math.floor(seconds / 60) % 60
        return (hours > 0 ? hours + ":" + pad(minutes) : minutes) + ":" + pad(seconds % 60)
    }

    readonly property string timeText: {
        const elapsed = qsTr("Elapsed %1").arg(clockText(elapsedSeconds))
        if (stepSecondsLeft < 0)
            return elapsed
        const minutes = Math.round(stepSecondsLeft / 60)
        const left = stepSecondsLeft < 60 ? qsTr("less than a minute left in this step")
                   : minutes === 1 ? qsTr("about 1 minute left in this step")
                   : qsTr("about %1 minutes left in this step").arg(minutes)
        //: The elapsed time, then the time left in the current step.
        return qsTr("%1 · %2").arg(elapsed).arg(left)
    }

    // Step ordinals in order, with the titles the list shows for them.
    readonly property var steps: [
        { step: 0, title: "macOS installer selected" },
        { step: 1, title: "Create DMG file" },
        { step: 2, title: "Make DMG bootable" },
        { step: 3, title: "Convert to ISO format" },
        { step: 4, title: "Clean up temporary files" }
    ]

    // Completed wins over current.
    function stateOf(step) {
        if (completedSteps.indexOf(step) !== -1)
            return "completed"
        return step === currentStep ? "current" : "pending"
    }

    spacing: 16

    ProgressBar {
        objectName: "progressBar"
        x: Theme.padding
        width: section.width - 2 * Theme.padding
        from: 0
        to: 1.0
        value: section.progress
        // Qt Quick's progress bar offers a screen reader no value: its name carries it.
        Accessible.name: qsTr("Progress %1 %").arg(Math.round(section.progress * 100))
    }

    // The time line tucks under the status line, its empty top over the status line's
    // descent: the section must still fit the window's minimum height under a two-line header.
    Column {
        width: section.width
        spacing: -2

        Label {
            objectName: "statusLine"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: section.progressDescription
            textFormat: Text.PlainText
            font.pixelSize: 14
            color: Theme.secondaryText
        }

        Label {
            objectName: "timeLine"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: section.timeText
            textFormat: Text.PlainText
            font.pixelSize: 11
            color: Theme.secondaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    Item {
        objectName: "stepList"
        anchors.horizontalCenter: parent.horizontalCenter
        implicitWidth: rows.implicitWidth + 2 * Theme.padding
        implicitHeight: rows.implicitHeight + 2 * Theme.padding

        Accessible.role: Accessible.List
        Accessible.name: qsTr("Steps")

        CardBackground {
            anchors.fill: parent
            radius: 12
            shadowOpacity: 0.05
            shadowRadius: 3
            shadowOffsetY: 1
        }

        Column {
            id: rows
            x: Theme.padding
            y: Theme.padding
            spacing: 8

            Repeater {
                model: section.steps

                StepRow {
                    required property var modelData
                    objectName: "stepRow" + modelData.step
                    title: modelData.title
                    stepState: section.stateOf(modelData.step)
                }
            }
        }
    }

    Button {
        objectName: "stopButton"
        anchors.horizontalCenter: parent.horizontalCenter
        text: qsTr("Stop")
        enabled: section.canStop
        Accessible.name: text
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        onClicked: section.stopRequested()
    }

    // Escape, and Command-period on macOS (Ctrl+. elsewhere), as in the Mac's own dialogs.
    Shortcut {
        sequences: ["Escape", "Ctrl+."]
        enabled: section.canStop
        onActivated: section.stopRequested()
    }
}
