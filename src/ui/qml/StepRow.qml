import QtQuick
import Vantorel

// One step of the list: its state's symbol and the step's title.
Row {
    id: row

    required property string title
    // "completed", "current" or "pending".
    required property string stepState

    readonly property bool completed: stepState === "completed"
    readonly property bool current: stepState === "current"

    spacing: 10

    Accessible.role: Accessible.ListItem
    Accessible.name: completed ? qsTr("%1, completed").arg(title)
                               : current ? qsTr("%1, in progress").arg(title)
                                         : qsTr("%1, pending").arg(title)

    SymbolIcon {
        objectName: "stepSymbol"
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        source: row.completed ? "../icons/checkmark-circle-fill.svg"
                              : row.current ? "../icons/arrow-right-circle-fill.svg"
                                            : "../icons/circle.svg"
        color: row.completed ? Theme.green : row.current ? Theme.blue : Theme.gray
    }
    Text {
        objectName: "stepTitle"
        anchors.verticalCenter: parent.verticalCenter
        text: row.title
        textFormat: Text.PlainText
        font.pixelSize: 14
        color: row.completed || row.current ? Theme.primaryText : Theme.secondaryText
        // The row's name says it, with the step's state.
        Accessible.ignored: true
    }
}
