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
        Accessible.name: qsTr("Progress")
    }

    Label {
        objectName: "statusLine"
        width: section.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: section.progressDescription
        textFormat: Text.PlainText
        font.pixelSize: 14
        color: Theme.secondaryText
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
}
